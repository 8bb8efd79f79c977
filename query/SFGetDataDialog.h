#pragma once

#include "query/ProgressDialog.h"

// The progress box of One Frequency Time Window requests: one time series at
// the request's frequency per ticked statistic.
class SFGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit SFGetDataDialog(QWidget* parent = nullptr);
};
