#include "core/ThresholdNames.h"

#include "resources/Strings.h"

ThresholdNames::ThresholdNames(const QStringList& names) {
  for (int i = 0; i < kCount; ++i) m_names[i] = names.value(i);
}

QString ThresholdNames::menuText(int i) const {
  return !at(i).isEmpty() ? at(i) : Strings::LoadString(Strings::IDS_MENU_THRESHOLD_1 + i);
}

QString ThresholdNames::displayName(int i) const {
  return !at(i).isEmpty() ? at(i) : menuText(i).remove(QLatin1Char('&'));
}
