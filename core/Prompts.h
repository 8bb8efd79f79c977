#pragma once

#include <QString>

class QWidget;

// The one way the program shows a message: a plain OK box owned by a window.
// The widget build installs a QMessageBox implementation; tests install a
// recorder of their own so they can read the texts instead of clicking boxes.
class Prompts {
public:
  virtual ~Prompts() = default;
  virtual void message(QWidget* owner, const QString& text) = 0;

  // The installed implementation. Until one is installed, messages are
  // written to standard error so that nothing is lost silently.
  static Prompts& current();
  // Installs `prompts` (not owned); nullptr restores the default.
  static void install(Prompts* prompts);
};
