#pragma once

#include "core/Prompts.h"

// Messages as plain OK boxes owned by the window that raised them.
class MessageBoxPrompts : public Prompts {
protected:
  void show(QWidget* owner, const QString& text, const QString& informative) override;
};
