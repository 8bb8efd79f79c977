#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QStringList>

// Records every message instead of showing it.
class RecordingPrompts : public Prompts {
public:
  QStringList texts;
  QStringList informatives;  // one per message, empty when it had none
  QList<QWidget*> owners;

protected:
  void show(QWidget* owner, const QString& text, const QString& informative) override {
    texts.append(text);
    informatives.append(informative);
    owners.append(owner);
  }
};

// Installs a prompts implementation for one scope.
class ScopedPrompts {
public:
  explicit ScopedPrompts(Prompts& p) { Prompts::install(&p); }
  ~ScopedPrompts() { Prompts::install(nullptr); }
  ScopedPrompts(const ScopedPrompts&) = delete;
  ScopedPrompts& operator=(const ScopedPrompts&) = delete;
};
