#include "views/C3DReportView.h"

#include "chart/CChart3D.h"
#include "chart/CHeatMap.h"
#include "core/ColorRef.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "query/Comparison.h"
#include "query/ComparisonMatch.h"
#include "query/RibbonSet.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/MarkerSet.h"
#include "views/ReadoutBubble.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"
#include "views/ViewSettings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

#include <cmath>

using namespace CommandIds;

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

QVector<int> range(int first, int last) {
  QVector<int> out;
  for (int i = first; i <= last; ++i) out.append(i);
  return out;
}

// The order in which the chart menu's switches are set.
const QVector<int>& menuOrder() {
  static const QVector<int> order = [] {
    QVector<int> o{1, 41, 42, 43, 45, 44, 2};
    o += range(61, 66);
    o += 3;
    o += range(81, 85);
    o += 4;
    o += range(101, 103);
    o += 5;
    o += range(121, 125);
    o += {6, 141};
    o += range(142, 147);
    o += {7, 162, 163, 164, 165, 8};
    o += range(181, 184);
    o += {185, 9};
    o += range(201, 208);
    o += {10, 221, 222, 11, 241, 12, 261, 13, 281, 301, 302, 344, 341, 345, 346, 342, 343, 104, 105, 14};
    o += range(381, 383);
    o += {282, 283, 421, 422};
    return o;
  }();
  return order;
}

}  // namespace

const QVector<int>& C3DReportView::menuItemsOn() {
  // Of those switched on, the last six have no meaning on this surface; they
  // are set so the chart answers them back as the report set them.
  static const QVector<int> on{CChart3D::kMenuMouseRotation,
                               CChart3D::kMenuWheelZoom,
                               CChart3D::kMenuResetView,
                               CChart3D::kMenuCopy,
                               8,
                               42,
                               43,
                               141,
                               164,
                               185};
  return on;
}

const QVector<int>& C3DReportView::menuItemsOff() {
  static const QVector<int> off = [] {
    QVector<int> o;
    for (int n : menuOrder())
      if (!menuItemsOn().contains(n)) o.append(n);
    return o;
  }();
  return off;
}

C3DReportView::C3DReportView(int graphType, QWidget* parent) : ReportView(parent), m_graphType(graphType) {
  m_chart = new CChart3D(this);
  m_chart->setAccessibleName(text(Strings::IDS_CHART3D_ACCESSIBLE).arg(ReportTexts::name(graphType)));
  m_chart->setAxisLabelSize(1, kRowLabelSize);
  auto* properties = new QAction(text(Strings::IDS_CHART3D_PROPERTIES), this);
  connect(properties, &QAction::triggered, this, &C3DReportView::editChartProperties);
  auto* saveImage = new QAction(text(Strings::IDS_CHART3D_SAVE_IMAGE), this);
  connect(saveImage, &QAction::triggered, this, [this] { emit commandRequested(ID_GRAPH_SAVE_IMAGE); });
  m_chart->addContextAction(properties);
  m_chart->addContextAction(saveImage);
  connect(m_chart, &CChart3D::viewReset, this, [this] {
    m_chart->setBatch(true);
    resetOrientation();
    resetZoom();
    m_chart->setBatch(false);
  });
  m_chart->setNote(text(Strings::IDS_CHART3D_NO_DATA));
  m_heatMap = new CHeatMap(this);
  m_heatMap->setAccessibleName(text(Strings::IDS_UI_HEAT_MAP_ACCESSIBLE).arg(ReportTexts::name(graphType)));
  m_heatMap->hide();
  m_heatReadout = new ReadoutBubble(m_heatMap);
  connect(m_heatMap, &CHeatMap::pointerMoved, this, &C3DReportView::showHeatReadout);
  connect(m_heatMap, &CHeatMap::pointerLeft, m_heatReadout, &QWidget::hide);
  // The map shows the 3D chart's look, so it offers the same pages.
  connect(m_heatMap, &CHeatMap::contextMenuRequested, this, [this, properties, saveImage](const QPoint& at) {
    QMenu menu(m_heatMap);
    menu.addActions({properties, saveImage});
    menu.exec(at);
  });
  m_heatShown = HeatMapChoice::load(m_graphType);
  m_pickReadout = new ReadoutBubble(m_chart, true);
  connect(m_chart, &CChart3D::cellPicked, this, &C3DReportView::showPickReadout);
  C3DReportView::loadAppearance();
}

void C3DReportView::resizeEvent(QResizeEvent* event) {
  ReportView::resizeEvent(event);
  m_chart->setGeometry(0, 0, event->size().width(), event->size().height());
  m_heatMap->setGeometry(0, 0, event->size().width(), event->size().height());
  m_chart->setPlotAreaAutomatic();
  m_chart->setRepaint(true);
}

void C3DReportView::hideEvent(QHideEvent* event) {
  ReportView::hideEvent(event);
  m_pickReadout->hide();  // a window of its own would outlive the view on screen
}

void C3DReportView::showPickReadout(int row, int column, const QPoint& at) {
  if (row < 0 || row >= m_grid.rows() || column < 0 || column >= m_grid.columns || m_heatShown) {
    m_pickReadout->hide();
    return;
  }
  m_pickReadout->showAt(HeatMapGrid::readout(m_grid, row / 3, column, m_unitText), at, m_chart->rect());
}

void C3DReportView::readSettings() {
  m_level.step = activationSettings().referenceStep;
}

void C3DReportView::setActive(bool active) {
  if (!active) return;
  readSettings();
  if (m_firstActivation) {
    m_firstActivation = false;
    for (int n : menuOrder()) m_chart->setMenuItem(n, menuItemsOn().contains(n));
  }
}

QString C3DReportView::headerText(const ReportData& report) const {
  const QString first = ReportTexts::name(m_graphType) + QStringLiteral("   ") + report.headerLines.value(2) +
                        QStringLiteral("   ") + report.headerLines.value(3);
  return first + QStringLiteral("\n") + report.headerLines.value(1);
}

void C3DReportView::showReport(const ReportData& report) {
  static const RibbonSet kNone;
  const RibbonSet& set = report.ribbons ? *report.ribbons : kNone;
  if (m_firstActivation) setActive(true);
  m_levelOffset = report.levelUnit.offset();
  m_grid = RibbonGrid::build(set, m_levelOffset);
  m_compared = false;  // the frame hands the comparison again after the build
  m_level.percent = m_grid.percent;
  CChart3D& c = *m_chart;
  c.setBatch(true);
  const int rows = m_grid.rows();
  const int n = m_grid.columns;
  c.setGridSize(rows, n);
  for (int r = 1; r < rows; ++r) c.setRowSpacing(r, 1.0);
  for (int k = 1; k < n; ++k) c.setColumnSpacing(k, m_grid.frequencies[k] - m_grid.frequencies[k - 1]);
  c.setValues(m_grid.values);

  const double first = n > 0 ? m_grid.frequencies.front() : 0.0;
  const double last = n > 0 ? m_grid.frequencies.back() : 0.0;
  m_low = m_previousLow = first;
  m_high = m_previousHigh = last;
  c.setAxisRange(2, 0.0, last - first);
  setFrequencyWindow(first, last);

  c.setAxisLabelSize(1, kRowLabelSize);
  c.setAxisRange(1, 0.0, std::max(0, rows - 2));
  c.clearAxisLabels(1);
  for (int i : RibbonAxes::labelledRibbons(m_grid.ribbons, thinsRibbonLabels()))
    c.addAxisLabel(1, c.rowPosition(3 * i + 2), m_grid.labels[static_cast<size_t>(i)]);

  if (set.empty()) {
    m_version.clear();
  } else if (set.kind == RibbonSet::Kind::Day) {
    m_version = RibbonAxes::versionText(set.days.front().field28, set.days.back().field30);
  } else {
    m_version = RibbonAxes::versionText(set.ribbons.front().field24, set.ribbons.back().field26);
  }

  autoReference();
  c.setAxisTitleSetting(3, kValueTitleSetting);
  m_unitText = report.levelUnit.text();
  c.setAxisTitle(3, m_grid.percent ? QStringLiteral("%") : m_unitText);
  c.setHeaderText(headerText(report));
  c.setNote(m_grid.empty() ? text(Strings::IDS_CHART3D_NO_DATA) : QString());
  if (m_record.loaded())
    m_record.apply(c);
  else
    C3DChartProperty::applyDefaults(c);
  resetOrientation();
  resetZoom();
  c.setBatch(false);
  m_hasChart = true;
  m_heatStale = true;
  setHeatMapShown(m_heatShown);
  emit commandsChanged();
}

void C3DReportView::setHeatMapShown(bool shown) {
  m_heatShown = shown;
  const bool flat = shown && m_hasChart;
  if (flat && m_heatStale) refreshHeatMap();
  m_heatMap->setVisible(flat);
  m_chart->setVisible(!flat);
  m_pickReadout->hide();
  if (!flat) m_heatReadout->hide();
}

void C3DReportView::refreshHeatMap() {
  m_heatStale = false;
  m_heatGrid = HeatMapGrid::build(m_compared ? m_difference : m_grid);
  m_heatMap->setData(m_heatGrid.cells, m_heatGrid.rows, m_heatGrid.firstFrequency, m_heatGrid.lastFrequency,
                     m_heatGrid.values);
  refreshHeatAxes();
}

void C3DReportView::refreshHeatAxes() {
  if (m_heatStale) return;
  const Chart3DAppearance& look = m_chart->appearance();
  m_heatMap->setColours(colorFromRef(look.chartAreaBackground), colorFromRef(look.chartAreaForeground),
                        colorFromRef(look.interiorBackground));
  m_heatMap->setHeader(m_compared ? m_chart->headerText() + QLatin1Char('\n') +
                                        text(Strings::IDS_UI_COMPARE_STATUS).arg(m_comparePeriod)
                                  : m_chart->headerText());
  m_heatMap->setDiverging(m_compared, m_differenceLimit);
  m_heatMap->setValueTitle(m_compared ? text(m_grid.percent ? Strings::IDS_UI_COMPARE_SCALE_POINTS
                                                            : Strings::IDS_UI_COMPARE_SCALE_DB)
                                      : m_chart->axis(3).title);
  m_heatMap->setValueRange(m_chart->axis(3).minimum, m_chart->axis(3).maximum);
  // The 3D chart's labels: its frequency texts where they are not blank
  // (the labelling pads with single spaces), and the ribbon labels it shows.
  QMap<double, QString> x, y;
  const int lo = columnOf(m_low), hi = std::max(lo, columnOf(m_high));
  const QVector<QString> labels =
      RibbonAxes::frequencyLabels(m_grid.frequencies, lo, hi, m_chart->axis(2).labelSize);
  for (int col = 0; col < labels.size(); ++col)
    if (!labels[col].trimmed().isEmpty()) x.insert(m_grid.frequencies[static_cast<size_t>(col)], labels[col]);
  for (int i : RibbonAxes::labelledRibbons(m_grid.ribbons, thinsRibbonLabels()))
    y.insert(i, m_grid.labels[static_cast<size_t>(i)]);
  m_heatMap->setAxisLabels(x, y);
  if (m_grid.columns > 0) m_heatMap->setXRange(m_low, m_high);
}

void C3DReportView::showHeatReadout(int px, int py) {
  double f = 0.0, row = 0.0;
  int ribbon = 0, column = 0;
  if (!m_heatShown || !m_heatMap->coordsAt(QPoint(px, py), f, row) ||
      !m_heatGrid.hit(f, row, ribbon, column)) {
    m_heatReadout->hide();
    return;
  }
  QVector<ReadoutLine> lines = HeatMapGrid::readout(m_grid, ribbon, column, m_unitText);
  if (m_compared) {
    const size_t at =
        static_cast<size_t>(ribbon) * static_cast<size_t>(m_grid.columns) + static_cast<size_t>(column);
    const int trace = m_grid.percent ? 3 : 0;  // the marker formats of a percentage and a level
    lines.append({text(Strings::IDS_UI_READOUT_VALUE)
                      .arg(text(Strings::IDS_UI_COMPARE_EARLIER) + QStringLiteral(", ") + m_comparePeriod,
                           MarkerSet::valueText(trace, m_earlierValues[at], m_unitText)),
                  QColor()});
    lines.append(
        {HoverReadout::differenceText(m_difference.at(3 * ribbon, column), m_grid.percent), QColor()});
  }
  m_heatReadout->showAt(lines, QPoint(px, py), m_heatMap->plotRect());
}

int C3DReportView::columnOf(double bound) const {
  return snapsUpward() ? RibbonAxes::columnAtOrAbove(m_grid.frequencies, bound)
                       : RibbonAxes::columnAtOrBelow(m_grid.frequencies, bound);
}

void C3DReportView::setFrequencyWindow(double low, double high) {
  CChart3D& c = *m_chart;
  c.setBatch(true);
  m_low = low;
  m_high = high;
  const CChart3D::Axis& axis = c.axis(2);
  c.setAxisRange(2, axis.minimum + (low - m_previousLow), axis.maximum + (high - m_previousHigh));
  m_previousLow = low;
  m_previousHigh = high;
  const int lo = columnOf(low);
  const int hi = std::max(lo, columnOf(high));
  c.clearAxisLabels(2);
  const QVector<QString> labels =
      RibbonAxes::frequencyLabels(m_grid.frequencies, lo, hi, c.axis(2).labelSize);
  for (int col = 0; col < labels.size(); ++col) c.addAxisLabel(2, c.columnPosition(col + 1), labels[col]);
  // A window over holes only keeps the starting extremes (-220 over 220):
  // the normalisation still lands on a finite axis, and the reference level
  // can move either way from there.
  const RibbonAxes::Extremes e = RibbonAxes::extremes(m_grid, lo, hi);
  m_level.dataMaximum = e.maximum;
  m_level.dataMinimum = e.minimum;
  m_dataRange = static_cast<int>(m_level.dataMaximum - m_level.dataMinimum);
  if (spanFollowsData()) m_level.span = m_dataRange;
  c.setBatch(false);
  refreshHeatAxes();
}

void C3DReportView::applyValueAxis() {
  CChart3D& c = *m_chart;
  c.setBatch(true);
  const int labelSize = c.axis(3).labelSize;
  c.clearAxisLabels(3);
  for (const RibbonAxes::ValueLabel& l :
       RibbonAxes::valueLabels(m_level.top, m_level.bottom, m_level.step, m_level.span, labelSize))
    c.addAxisLabel(3, l.value, l.text);
  c.setAxisLevels(3, drawsValueLevels() ? RibbonAxes::valueLevels(m_level.top, m_level.bottom, m_level.step)
                                        : QVector<double>{});
  c.setAxisRange(3, m_level.bottom, m_level.top);
  c.setBatch(false);
  m_heatMap->setValueRange(m_level.bottom, m_level.top);
  emit commandsChanged();
}

void C3DReportView::autoReference() {
  m_level.autoReference();
  applyValueAxis();
}

void C3DReportView::raiseReferenceLevel() {
  m_level.raise();
  applyValueAxis();
}

void C3DReportView::lowerReferenceLevel() {
  m_level.lower();
  applyValueAxis();
}

void C3DReportView::zoom(int direction) {
  const QRect a = m_chart->plotArea();
  const int x = (a.left() + a.width()) / 2;
  const int y = (a.top() + a.height()) / 2;
  const int d = a.height() / 8;
  const int end = direction == 0 ? y + d : y - d;
  m_chart->action(CChart3D::kActionStart, x, y);
  m_chart->action(CChart3D::kActionZoom, x, y);
  m_chart->action(CChart3D::kActionZoom, x, end);
  m_chart->action(CChart3D::kActionEnd, x, end);
}

void C3DReportView::resetZoom() {
  m_chart->setBatch(true);
  m_chart->setMagnification(1.0);
  m_chart->setShift(0.0, 0.0);
  m_chart->setBatch(false);
}

void C3DReportView::resetOrientation() {
  m_chart->setBatch(true);
  m_chart->setElevation(45.0);
  m_chart->setPerspective(3.0);
  m_chart->setRotation(225.0);
  m_chart->setPlotAreaAutomatic();
  m_chart->setBatch(false);
}

void C3DReportView::resetChartProperties() {
  C3DChartProperty::applyDefaults(*m_chart);
  refreshHeatAxes();
}

bool C3DReportView::editChartProperties() {
  m_record.capture(*m_chart);
  const bool kept = editAppearance<C3DChartProperty>(this, m_record, [this](const C3DChartProperty& r) {
    r.apply(*m_chart);
    refreshHeatAxes();
  });
  // Stored only when the property dialog is confirmed or the window closes;
  // until then rebuilds keep what the user chose.
  if (kept) m_record.markLoaded();
  return kept;
}

bool C3DReportView::runCommand(int commandId) {
  if (!m_hasChart) return false;
  const CChart3D::View& v = m_chart->view();
  if (commandId == ID_VIEW_HEAT_MAP) {
    setHeatMapShown(!m_heatShown);
    HeatMapChoice::save(m_graphType, m_heatShown);
    emit commandsChanged();
    return true;
  }
  if (m_heatShown) {
    // The flat map takes the zoom and what is copied; it has no angles.
    switch (commandId) {
      case ID_VIEW_ZOOM_IN: m_heatMap->zoom(0); return true;
      case ID_VIEW_ZOOM_OUT: m_heatMap->zoom(1); return true;
      case ID_VIEW_ZOOM_RESET: m_heatMap->resetZoom(); return true;
      case ID_VIEW_ROTATE_UP:
      case ID_VIEW_ROTATE_DOWN:
      case ID_VIEW_ROTATE_RIGHT:
      case ID_VIEW_ROTATE_LEFT:
      case ID_VIEW_RESET_ORIENTATION: return false;
      case ID_GRAPH_COPY: {
        QApplication::clipboard()->setImage(m_heatMap->image());
        return true;
      }
      default: break;
    }
  }
  switch (commandId) {
    case ID_VIEW_ZOOM_IN: zoom(0); return true;
    case ID_VIEW_ZOOM_OUT: zoom(1); return true;
    case ID_VIEW_ZOOM_RESET: resetZoom(); return true;
    case ID_VIEW_ROTATE_UP: m_chart->setElevation(v.elevation - kRotateStep); return true;
    case ID_VIEW_ROTATE_DOWN: m_chart->setElevation(v.elevation + kRotateStep); return true;
    case ID_VIEW_ROTATE_RIGHT: m_chart->setRotation(v.rotation + kRotateStep); return true;
    case ID_VIEW_ROTATE_LEFT: m_chart->setRotation(v.rotation - kRotateStep); return true;
    case ID_VIEW_RESET_ORIENTATION: resetOrientation(); return true;
    case ID_VIEW_REF_LEVEL_UP: raiseReferenceLevel(); return true;
    case ID_VIEW_REF_LEVEL_DOWN: lowerReferenceLevel(); return true;
    case ID_VIEW_AUTO_REFERENCE: autoReference(); return true;
    case ID_GRAPH_COPY: return m_chart->copyToClipboard(3);
    case ID_VIEW_RESET_CHART_PROPERTIES: resetChartProperties(); return true;
    default: return false;
  }
}

void C3DReportView::fillFrameState(FrameState& state) const {
  state.viewReady = m_hasChart;
  if (!m_hasChart) return;
  const CChart3D::Axis& value = m_chart->axis(3);
  state.canRaiseLevel = m_level.canRaise(value.minimum, value.maximum);
  state.canLowerLevel = m_level.canLower(value.maximum);
  state.autoReference = m_level.canAutoReference(value.minimum, value.maximum);
  state.heatMapShown = m_heatShown;
}

ChartPainter C3DReportView::chartPainter() const {
  if (!m_hasChart) return {};
  if (m_heatShown) {
    QPointer<CHeatMap> map = m_heatMap;
    return [map](QPainter& p, const QRectF& r) {
      if (map) map->paint(p, r);
    };
  }
  const QImage picture = m_chart->image();
  return [picture](QPainter& p, const QRectF& r) {
    if (picture.isNull() || r.isEmpty()) return;
    const QSizeF fitted = QSizeF(picture.size()).scaled(r.size(), Qt::KeepAspectRatio);
    const QRectF target(r.left() + (r.width() - fitted.width()) / 2, r.top(), fitted.width(),
                        fitted.height());
    p.drawImage(target, picture);
  };
}

void C3DReportView::saveAppearance() {
  if (!m_hasChart) return;
  m_record.capture(*m_chart);
  SettingsStore store;
  RegistryKey section = store.sectionKey(text(Strings::IDS_CHART_SETTINGS_SECTION));
  m_record.save(section, m_graphType);
  store.sync();
}

void C3DReportView::loadAppearance() {
  SettingsStore store;
  m_record.load(store.sectionKey(text(Strings::IDS_CHART_SETTINGS_SECTION)), m_graphType);
}

QString C3DReportView::statusText() const {
  if (!m_hasChart || m_version.isEmpty()) return {};
  return text(Strings::IDS_UI_MP_VERSION) + QLatin1Char(' ') + m_version;
}

bool C3DReportView::viewSettingsSource(ViewSettingsSource& source) const {
  if (!m_hasChart || m_grid.columns == 0) return false;
  source.frequencies = QVector<double>(m_grid.frequencies.begin(), m_grid.frequencies.end());
  source.startFrequency = m_low;
  source.stopFrequency = m_high;
  source.range = m_level.span;
  source.minimumRange = m_dataRange;
  source.percent = m_level.percent;
  return true;
}

void C3DReportView::applyViewSettings(const ViewSettings& settings) {
  m_chart->setBatch(true);
  m_level.step = settings.referenceStep;
  m_level.span = settings.range;
  setFrequencyWindow(settings.startFrequency, settings.stopFrequency);
  autoReference();
  m_chart->setBatch(false);
}

void C3DReportView::refreshReport(const ReportData& report) {
  if (!m_hasChart || m_grid.columns == 0) {
    showReport(report);
    return;
  }
  const CChart3D::View view = m_chart->view();
  const ReferenceLevel level = m_level;
  const bool wholeWindow = m_low <= m_grid.frequencies.front() && m_high >= m_grid.frequencies.back();
  const double low = m_low, high = m_high;
  const bool flatZoomed = m_heatShown && (m_heatMap->xMin() != m_low || m_heatMap->xMax() != m_high);
  const double flat[4] = {m_heatMap->xMin(), m_heatMap->xMax(), m_heatMap->yMin(), m_heatMap->yMax()};
  CChart3D& c = *m_chart;
  // One batch round the build and the restore, so the surface takes the
  // data once.
  c.setBatch(true);
  showReport(report);
  c.setElevation(view.elevation);
  c.setPerspective(view.perspective);
  c.setRotation(view.rotation);
  c.setMagnification(view.magnification);
  c.setShift(view.shiftX, view.shiftY);
  if (!wholeWindow && m_grid.columns > 0 && low >= m_grid.frequencies.front() &&
      high <= m_grid.frequencies.back())
    setFrequencyWindow(low, high);
  if (level.percent == m_level.percent) {
    m_level.top = level.top;
    m_level.bottom = level.bottom;
    m_level.span = level.span;
    applyValueAxis();
  }
  c.setBatch(false);
  if (flatZoomed) m_heatMap->setVisibleRange(flat[0], flat[1], flat[2], flat[3]);
}

void C3DReportView::setComparison(const Comparison* comparison) {
  m_compared = comparison && m_hasChart && !comparison->ribbons.empty();
  m_difference = RibbonGrid{};
  m_earlierValues.clear();
  if (m_compared) {
    // Both sides with the same offset, so equal samples differ by exactly 0.
    const RibbonGrid earlier = RibbonGrid::build(comparison->ribbons, m_levelOffset);
    const auto layout = [](const RibbonGrid& g) {
      return ComparisonMatch::Layout{g.ribbons, g.columns, g.frequencies.data(), [&g](int r) {
                                       return g.values.data() + static_cast<size_t>(3 * r) * g.columns;
                                     }};
    };
    ComparisonMatch::RibbonDifference d = ComparisonMatch::rows(layout(m_grid), layout(earlier));
    m_difference = m_grid;
    for (int r = 0; r < d.rows; ++r)
      for (int row = 3 * r; row < 3 * r + 2; ++row)
        std::copy_n(d.difference.data() + static_cast<size_t>(r) * d.columns, d.columns,
                    m_difference.values.data() + static_cast<size_t>(row) * d.columns);
    m_earlierValues = std::move(d.earlier);
    m_differenceLimit = ComparisonMatch::scaleLimit(d.difference);
    m_comparePeriod = comparison->periodText();
  }
  m_heatStale = true;
  // The difference shows on the heat map; once it goes, the stored choice returns.
  const bool restore = m_heatForComparison && !m_compared;
  m_heatForComparison = m_compared;
  setHeatMapShown(m_compared ? true : restore ? HeatMapChoice::load(m_graphType) : m_heatShown);
  emit commandsChanged();
}
