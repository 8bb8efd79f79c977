#include "app/CMainFrame.h"
#include "app/CQLRegUpdater.h"
#include "app/MessageBoxPrompts.h"
#include "app/SettingsStore.h"
#include "app/StartupSettings.h"
#include "resources/Strings.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(SettingsStore::applicationName());
  MessageBoxPrompts prompts;
  Prompts::install(&prompts);

  {
    CQLRegUpdater updater(SettingsStore::profileName(), SettingsStore::vendorName());
    updater.Update();
  }
  StartupSettings startup;
  {
    SettingsStore store;
    startup = StartupSettings::Load(store);
  }

  CMainFrame frame;
  frame.show();
  const int rc = QApplication::exec();

  {
    SettingsStore store;
    startup.Save(store);
  }
  Prompts::install(nullptr);
  return rc;
}
