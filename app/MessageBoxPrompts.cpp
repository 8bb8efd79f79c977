#include "app/MessageBoxPrompts.h"

#include "app/WaitCursor.h"
#include "core/SettingsStore.h"

#include <QMessageBox>

void MessageBoxPrompts::message(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, SettingsStore::applicationName(), text, QMessageBox::Ok, owner);
  box.setAccessibleName(text);
  const NormalCursor arrow;
  box.exec();
}
