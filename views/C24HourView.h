#pragma once

#include "views/C3DReportView.h"

// The 24 Hour report: one ribbon per hour of the chosen date, every hour labelled.
class C24HourView : public C3DReportView {
  Q_OBJECT
public:
  explicit C24HourView(QWidget* parent = nullptr);

protected:
  bool thinsRibbonLabels() const override { return false; }
};
