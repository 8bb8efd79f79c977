#pragma once

#include "chart/C3DChartProperty.h"
#include "views/HeatMapGrid.h"
#include "views/ReferenceLevel.h"
#include "views/ReportView.h"
#include "views/RibbonGrid.h"

class CChart3D;
class CHeatMap;
class ReadoutBubble;

// What the four ribbon reports share: the chart filling the view, the
// value axis and its reference level, the frequency window, the view
// commands and the stored look. The report types differ only in the hooks
// at the end.
class C3DReportView : public ReportView {
  Q_OBJECT
public:
  // The chart menu switches set on the first activation, on and off.
  static const QVector<int>& menuItemsOn();
  static const QVector<int>& menuItemsOff();
  static constexpr double kRotateStep = 5.0;
  static constexpr int kRowLabelSize = 33;
  static constexpr int kValueTitleSetting = 3;

  C3DReportView(int graphType, QWidget* parent = nullptr);

  int graphType() const override { return m_graphType; }
  void showReport(const ReportData& report) override;
  // Keeps the zoom, the rotation, the reference level, the frequency window
  // and the flat map's zoom.
  void refreshReport(const ReportData& report) override;
  bool runCommand(int commandId) override;
  void fillFrameState(FrameState& state) const override;
  ChartPainter chartPainter() const override;
  void saveAppearance() override;
  void loadAppearance() override;
  void setActive(bool active) override;
  QString statusText() const override;
  bool viewSettingsSource(ViewSettingsSource& source) const override;
  // A comparison shows on the heat map, which it turns on: current minus
  // earlier cell by cell on a diverging scale. The 3D chart keeps the
  // current surface.
  void setComparison(const Comparison* comparison) override;
  bool compared() const { return m_compared; }
  const RibbonGrid& differenceGrid() const { return m_difference; }
  void applyViewSettings(const ViewSettings& settings) override;

  CChart3D& chart() { return *m_chart; }
  const CChart3D& chart() const { return *m_chart; }
  const ReferenceLevel& level() const { return m_level; }
  const RibbonGrid& grid() const { return m_grid; }
  double windowLow() const { return m_low; }
  double windowHigh() const { return m_high; }
  QString versionText() const { return m_version; }
  C3DChartProperty& appearanceRecord() { return m_record; }
  bool hasChart() const { return m_hasChart; }

  // The view commands, as the frame's menu runs them.
  void zoom(int direction);  // 0 in, 1 out
  void resetZoom();
  void resetOrientation();
  void raiseReferenceLevel();
  void lowerReferenceLevel();
  void autoReference();
  void setFrequencyWindow(double low, double high);
  void resetChartProperties();
  // The chart's own "Chart Properties..." pages over this report's record;
  // true when the user kept the edits.
  bool editChartProperties();

  // The same result drawn flat; the choice is kept per report type.
  void setHeatMapShown(bool shown);
  bool heatMapShown() const { return m_heatShown; }
  CHeatMap& heatMap() { return *m_heatMap; }
  const HeatMapGrid& heatGrid() const { return m_heatGrid; }
  const ReadoutBubble& heatReadout() const { return *m_heatReadout; }
  // The readout of the cell under a heat-map pixel; hidden outside the plot.
  void showHeatReadout(int px, int py);
  // The readout of a cell picked on the 3D surface (grid row and column) at
  // a point of the chart; row -1 hides it.
  void showPickReadout(int row, int column, const QPoint& at);
  const ReadoutBubble& pickReadout() const { return *m_pickReadout; }

protected:
  // Day labels thinned to every third from 25 ribbons on.
  virtual bool thinsRibbonLabels() const { return true; }
  // Window bounds snap to the first column at or above them, not below.
  virtual bool snapsUpward() const { return false; }
  // Extra value-axis grid lines at every step.
  virtual bool drawsValueLevels() const { return false; }
  // Each window change sets the span to the data's range in the window, so
  // neither the previous report nor the dialog's range widens the axis.
  virtual bool spanFollowsData() const { return false; }
  virtual QString headerText(const ReportData& report) const;

  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void applyValueAxis();
  int columnOf(double bound) const;
  void readSettings();
  // Brings the heat map up to the chart: data, then axes and colours.
  void refreshHeatMap();
  void refreshHeatAxes();

  int m_graphType;
  CChart3D* m_chart = nullptr;
  RibbonGrid m_grid;
  ReferenceLevel m_level;
  C3DChartProperty m_record;
  double m_low = 0.0;
  double m_high = 0.0;
  double m_previousLow = 0.0;
  double m_previousHigh = 0.0;
  int m_dataRange = 0;
  QString m_version;
  bool m_hasChart = false;
  bool m_firstActivation = true;
  CHeatMap* m_heatMap = nullptr;
  ReadoutBubble* m_heatReadout = nullptr;
  ReadoutBubble* m_pickReadout = nullptr;
  HeatMapGrid m_heatGrid;
  bool m_heatShown = false;
  bool m_heatStale = true;  // built lazily: only a shown map is kept current
  QString m_unitText;
  double m_levelOffset = 0.0;
  // The comparison as drawn: the difference in the grid's shape, the
  // matched earlier values (R x N) and the earlier period's name.
  bool m_compared = false;
  bool m_heatForComparison = false;  // the heat map is on because a comparison turned it on
  RibbonGrid m_difference;
  std::vector<double> m_earlierValues;
  double m_differenceLimit = 1.0;
  QString m_comparePeriod;
};
