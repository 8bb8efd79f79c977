#pragma once

#include "views/C3DReportView.h"

// The Multi-Day Time Window report: one ribbon per day, each the same time period of its day.
class CMultiDayTimeWindowView : public C3DReportView {
  Q_OBJECT
public:
  explicit CMultiDayTimeWindowView(QWidget* parent = nullptr);
};
