#pragma once

#include "views/Chart2DReportView.h"
#include "views/ThresholdDisplay.h"
#include "views/ThresholdLines.h"

#include <QVector>

// The Time Window Summary: each statistic over frequency, levels on the
// left axis, "% Exceeding" on the right, and the port's threshold lines.
class CTimeWindowSummaryView : public Chart2DReportView {
  Q_OBJECT
public:
  static constexpr int kMarker1Series = 4;
  static constexpr int kMarker2Series = 15;

  explicit CTimeWindowSummaryView(QWidget* parent = nullptr);

  void showReport(const ReportData& report) override;
  // Keeps a frequency range narrowed in the property dialog as well.
  void refreshReport(const ReportData& report) override;
  bool runCommand(int commandId) override;
  void fillFrameState(FrameState& state) const override;
  bool viewSettingsSource(ViewSettingsSource& source) const override;
  void applyViewSettings(const ViewSettings& settings) override;

  const ThresholdDisplay& thresholdDisplay() const { return m_display; }
  double displayedStart() const { return m_displayStart; }
  double displayedStop() const { return m_displayStop; }

protected:
  QList<CChartProperty::SeriesInUse> seriesInUse() const override;
  void drawOverlays() override;

private:
  // The plotted levels of the frequencies from start up to (not including)
  // the first at or above stop.
  void trackVisibleLevels(double start, double stop);
  // The x labels, and with them the grid, over the points from start to stop.
  void labelFrequencies(double start, double stop);
  void setPairState(int k);

  ThresholdDisplay m_display;
  ThresholdLines m_lines;
  // What the property dialog and a range change need of the last result.
  QVector<double> m_frequencies;
  struct Levels {
    int statistic = 0;
    QVector<double> values;  // as fetched, offset not added
  };
  QVector<Levels> m_levels;
  double m_displayStart = 0.0;
  double m_displayStop = 0.0;
};
