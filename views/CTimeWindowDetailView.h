#pragma once

#include "views/C3DReportView.h"

// The Time Window Detail report: one ribbon per time increment of the window, with
// value levels on the vertical axis and the statistic named in the header.
class CTimeWindowDetailView : public C3DReportView {
  Q_OBJECT
public:
  explicit CTimeWindowDetailView(QWidget* parent = nullptr);

protected:
  bool snapsUpward() const override { return true; }
  bool drawsValueLevels() const override { return true; }
  bool spanFollowsData() const override { return true; }
  QString headerText(const ReportData& report) const override;
};
