#include "core/Prompts.h"

#include <atomic>
#include <cstdio>

namespace {

class StderrPrompts : public Prompts {
public:
protected:
  void show(QWidget*, const QString& text, const QString& informative) override {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (!informative.isEmpty()) std::fprintf(stderr, "%s\n", informative.toLocal8Bit().constData());
  }
};

StderrPrompts g_default;
std::atomic<Prompts*> g_current{nullptr};

}  // namespace

Prompts& Prompts::current() {
  Prompts* p = g_current.load();
  return p ? *p : g_default;
}

void Prompts::install(Prompts* prompts) {
  g_current.store(prompts);
}
