#include "core/ThresholdNames.h"

ThresholdNames::ThresholdNames(const QStringList& names) {
  for (int i = 0; i < kCount; ++i) m_names[i] = names.value(i);
}
