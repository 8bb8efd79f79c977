#pragma once

#include <QString>

class QWidget;

// The one way the program shows a message: a plain OK box owned by a window.
// The widget build installs a QMessageBox implementation; tests install a
// recorder of their own so they can read the texts instead of clicking boxes.
class Prompts {
public:
  virtual ~Prompts() = default;
  // `informative`, when given, is a plain sentence under the message saying
  // what the user can do about it.
  void message(QWidget* owner, const QString& text, const QString& informative = QString()) {
    show(owner, text, informative);
  }

  // The installed implementation. Until one is installed, messages are
  // written to standard error so that nothing is lost silently.
  static Prompts& current();
  // Installs `prompts` (not owned); nullptr restores the default.
  static void install(Prompts* prompts);

protected:
  virtual void show(QWidget* owner, const QString& text, const QString& informative) = 0;
};
