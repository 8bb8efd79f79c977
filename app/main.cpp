#include "app/AllocatorTuning.h"
#include "app/COrbiskApp.h"
#include "app/MessageBoxPrompts.h"
#include "core/SettingsStore.h"

#include <QApplication>

int main(int argc, char** argv) {
  limitAllocatorArenas();
  QApplication app(argc, argv);
  QApplication::setApplicationName(SettingsStore::applicationName());
  MessageBoxPrompts prompts;
  Prompts::install(&prompts);

  int rc = 0;
  {
    COrbiskApp quillon;
    if (quillon.InitInstance(QApplication::arguments(), &rc)) {
      rc = QApplication::exec();
      quillon.ExitInstance();
    }
  }
  Prompts::install(nullptr);
  return rc;
}
