#pragma once

#include "query/ProgressDialog.h"

// The progress box of Time Window Summary requests: one frequency profile
// per ticked statistic, then the port's threshold table.
class CTWSGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit CTWSGetDataDialog(QWidget* parent = nullptr);
};
