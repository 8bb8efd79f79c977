#pragma once

#include "core/Prompts.h"

// Messages as plain OK boxes owned by the window that raised them.
class MessageBoxPrompts : public Prompts {
public:
  void message(QWidget* owner, const QString& text) override;
};
