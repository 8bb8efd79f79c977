#pragma once

#include "views/C3DReportView.h"

// The Multi-Day report: one ribbon per day of the chosen dates.
class CMultiDayView : public C3DReportView {
  Q_OBJECT
public:
  explicit CMultiDayView(QWidget* parent = nullptr);
};
