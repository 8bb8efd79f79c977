#pragma once

#include "chart/CChartProperty.h"
#include "core/LevelUnit.h"
#include "query/SeriesStore.h"
#include "views/HoverReadout.h"
#include "views/LevelAxis.h"
#include "views/ReportView.h"

#include <QStringList>
#include <QVector>

class CChart2D;
class MarkerSet;
class ReadoutBubble;

// What the two 2D reports share: one chart filling the view, the level axis
// and its reference-level commands, the markers lent by the frame, the
// stored look, the layout, and the chart's own context menu. The reports
// add their build.
class Chart2DReportView : public ReportView {
  Q_OBJECT
public:
  Chart2DReportView(int graphType, int marker1Series, int marker2Series, bool timeAxis,
                    QWidget* parent = nullptr);
  ~Chart2DReportView() override;

  int graphType() const override { return m_graphType; }
  // Keeps the reference level and the markers (at their frequency or time
  // while it is still in the window); the zoom is the chart's and stays.
  void refreshReport(const ReportData& report) override;
  bool runCommand(int commandId) override;
  void fillFrameState(FrameState& state) const override;
  ChartPainter chartPainter() const override;
  void saveAppearance() override;
  void loadAppearance() override;
  void setActive(bool active) override;
  QString statusText() const override { return m_statusText; }
  void setMarkerSet(MarkerSet* markers) override;
  // The earlier period's traces under the drawn ones; markers and peak
  // search stay on the current traces.
  void setComparison(const Comparison* comparison) override;

  CChart2D& chart() const { return *m_chart; }
  const LevelAxis& levelAxis() const { return m_axis; }
  const CChartProperty& appearance() const { return m_look; }
  bool levelDrawn() const { return m_levelDrawn; }
  bool percentDrawn() const { return m_percentDrawn; }
  // Opens the chart's appearance pages, as its context menu does.
  bool editAppearance();

  // Lays the chart out for a view of cx by cy pixels.
  void layoutChart(int cx, int cy);
  // The value readout at pixel column px of the chart (pointer at py), or
  // at the active marker's point; hidden outside the plot.
  void showReadout(int px, int py);
  void showMarkerReadout();
  void hideReadout();
  const ReadoutBubble& readout() const { return *m_readout; }

protected:
  // The value axis commands act on the chart in batch mode.
  void applyScale(double scale);
  void applyAxisRange();
  // Starts a build: cleared flags and extremes, a fresh chart content.
  void beginBuild(const ReportData& report);
  // Ends it: axes shown by what was drawn, scale and auto reference, look.
  void endBuild(const ReportData& report);
  // One fetched series as the chart draws it: level statistics in group 1
  // with the amplitude offset added, percentages in group 2 as they are,
  // holes kept.
  struct PlottedSeries {
    int group = 1;
    int line = 1;  // 1 to 3 in group 1, 1 to 4 in group 2
    bool level = true;
    QVector<double> x, raw, y;
  };
  // Converts `in` (x: its times on a time axis, else its frequencies), draws
  // it and sets the build's flags and level extremes; false for a series
  // not drawn. A percentage series drawn first leaves one hidden point in
  // group 1, of `group1Count` series, so the chart keeps its left axis.
  bool plotSeries(const SeriesStore::Series& in, int group1Count, PlottedSeries& out);
  // The series the appearance pages offer for this report.
  virtual QList<CChartProperty::SeriesInUse> seriesInUse() const = 0;
  // What the report draws over its traces (threshold lines), redrawn after
  // every change of look.
  virtual void drawOverlays() {}

  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

  CChart2D* m_chart = nullptr;
  MarkerSet* m_markers = nullptr;
  LevelAxis m_axis;
  CChartProperty m_look;
  LevelUnit m_levelUnit;
  double m_levelOffset = 0.0;  // the unit's, kept for the per-point arithmetic
  bool m_levelDrawn = false;
  bool m_percentDrawn = false;
  bool m_group1Filled = false;
  bool m_anyValue = false;  // some point has a sample
  bool m_ready = false;
  QStringList m_thresholdNames;
  QString m_statusText;

private:
  void attachMarkers();
  void showContextMenu(const QPoint& globalPos);
  void readSettings();
  HoverReadout::Context readoutContext() const;

  int m_graphType;
  std::array<int, 2> m_markerSeries;
  bool m_timeAxis;
  bool m_firstActivation = true;
  ReadoutBubble* m_readout = nullptr;
};
