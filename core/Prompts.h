#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The one way the program shows a message: a plain OK box owned by a window.
// The widget build installs a QMessageBox implementation; tests install a
// recorder so they can read the texts instead of clicking boxes.
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

// Records every message, for tests and for headless runs.
class RecordingPrompts : public Prompts {
public:
  void message(QWidget* owner, const QString& text) override;
  QStringList texts;
  QList<QWidget*> owners;
};

// Installs a prompts implementation for one scope.
class ScopedPrompts {
public:
  explicit ScopedPrompts(Prompts& p) { Prompts::install(&p); }
  ~ScopedPrompts() { Prompts::install(nullptr); }
  ScopedPrompts(const ScopedPrompts&) = delete;
  ScopedPrompts& operator=(const ScopedPrompts&) = delete;
};
