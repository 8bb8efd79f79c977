#pragma once

#include "query/ProgressDialog.h"

// The progress box of Time Window Detail, 24 Hour, Multi-Day and Multi-Day
// Time Window requests, which fetch one ribbon block after another.
class CGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit CGetDataDialog(int graphType, QWidget* parent = nullptr);
};
