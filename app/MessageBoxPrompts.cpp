#include "app/MessageBoxPrompts.h"

#include "app/WaitCursor.h"
#include "core/SettingsStore.h"

#include <QMessageBox>

void MessageBoxPrompts::show(QWidget* owner, const QString& text, const QString& informative) {
  QMessageBox box(QMessageBox::NoIcon, SettingsStore::applicationName(), text, QMessageBox::Ok, owner);
  box.setAccessibleName(text);
  const NormalCursor arrow;
  box.setInformativeText(informative);
  box.exec();
}
