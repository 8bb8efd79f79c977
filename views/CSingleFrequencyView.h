#pragma once

#include "views/Chart2DReportView.h"

// The One Frequency Time Window: each statistic of one frequency over the
// time window; a point with no neighbours shows as a symbol of its own.
class CSingleFrequencyView : public Chart2DReportView {
  Q_OBJECT
public:
  static constexpr int kMarker1Series = 7;
  static constexpr int kMarker2Series = 8;
  static constexpr int kSeriesPerGroup = 8;

  explicit CSingleFrequencyView(QWidget* parent = nullptr);

  void showReport(const ReportData& report) override;
  bool viewSettingsSource(ViewSettingsSource& source) const override;
  void applyViewSettings(const ViewSettings& settings) override;

protected:
  QList<CChartProperty::SeriesInUse> seriesInUse() const override;

private:
  double m_frequency = 0.0;
};
