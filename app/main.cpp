#include "app/AllocatorTuning.h"
#include "app/CCommandLineInfoWav.h"
#include "app/COrbiskApp.h"
#include "app/MessageBoxPrompts.h"
#include "core/SettingsStore.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
  limitAllocatorArenas();
  // --help and --version are answered before QApplication connects to a
  // display, so they work over SSH, in package checks and when the manual
  // page is made.
  {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const QString answer = CCommandLineInfoWav::consoleAnswer(arguments);
    if (!answer.isEmpty()) {
      std::fputs(answer.toLocal8Bit().constData(), stdout);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(SettingsStore::applicationName());
  // Ties the windows to the installed desktop entry and its icon.
  QApplication::setDesktopFileName(QStringLiteral("quillon"));
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
