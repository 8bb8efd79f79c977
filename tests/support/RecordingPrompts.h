#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QStringList>

// Records every message instead of showing it.
class RecordingPrompts : public Prompts {
public:
  void message(QWidget* owner, const QString& text) override {
    texts.append(text);
    owners.append(owner);
  }
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
