#include "views/Chart2DReportView.h"

#include "chart/CChart2D.h"
#include "core/CNBDateTime.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "core/ThresholdNames.h"
#include "query/Comparison.h"
#include "query/ComparisonMatch.h"
#include "query/NoData.h"
#include "query/StatisticName.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/HoverReadout.h"
#include "views/MarkerSet.h"
#include "views/ReadoutBubble.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"

#include <QMenu>
#include <QPointer>

using namespace CommandIds;

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

// The record with the pages it offers, so the appearance dialog can copy
// and restore it as one value.
struct EditableLook {
  CChartProperty look;
  QList<CChartProperty::SeriesInUse> inUse;
  AppearanceFields fields() { return look.fields(inUse); }
};

RegistryKey chartSettings(SettingsStore& store) {
  return store.sectionKey(text(Strings::IDS_CHART_SETTINGS_SECTION));
}

}  // namespace

Chart2DReportView::Chart2DReportView(int graphType, int marker1Series, int marker2Series, bool timeAxis,
                                     QWidget* parent)
    : ReportView(parent),
      m_graphType(graphType),
      m_markerSeries{marker1Series, marker2Series},
      m_timeAxis(timeAxis) {
  m_chart = new CChart2D(this);
  setFocusProxy(m_chart);  // the frame focuses the view; the keys belong to the chart
  Chart2DReportView::loadAppearance();
  connect(m_chart, &CChart2D::mousePressed, this, [this](Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton || !m_markers || !m_markers->attachedTo(m_chart)) return;
    if (m_markers->press(x, y)) emit commandsChanged();
  });
  m_readout = new ReadoutBubble(m_chart);
  connect(m_chart, &CChart2D::mouseMoved, this, [this](Qt::MouseButtons buttons, int x, int y) {
    if ((buttons & Qt::LeftButton) && m_markers && m_markers->attachedTo(m_chart)) {
      m_markers->drag(x);
      hideReadout();  // the marker's own readouts speak while it is dragged
    } else if (buttons == Qt::NoButton) {
      showReadout(x, y);
    }
  });
  connect(m_chart, &CChart2D::pointerLeft, this, &Chart2DReportView::hideReadout);
  connect(m_chart, &CChart2D::mouseReleased, this, [this](Qt::MouseButton, int, int) {
    if (m_markers) m_markers->release();
  });
  connect(m_chart, &CChart2D::keyPressed, this, [this](int key) {
    if (!m_markers || !m_markers->attachedTo(m_chart)) return;
    m_markers->step(key == CChart2D::kKeyNext ? 1 : -1);
    showMarkerReadout();
  });
  connect(m_chart, &CChart2D::contextMenuRequested, this, &Chart2DReportView::showContextMenu);
}

// The marker set may already be gone with the frame; it holds the chart
// only weakly, so nothing needs undoing here.
Chart2DReportView::~Chart2DReportView() = default;

void Chart2DReportView::setMarkerSet(MarkerSet* markers) {
  m_markers = markers;
}

void Chart2DReportView::readSettings() {
  const StartupSettings settings = activationSettings();
  m_axis.referenceStep = settings.referenceStep;
  m_axis.scale = std::max(1, settings.scale);
}

void Chart2DReportView::setActive(bool active) {
  if (!active) return;
  readSettings();
  if (m_firstActivation) {
    m_firstActivation = false;
    // The control's own zoom, pan and reset gestures would fight the
    // markers for the mouse.
    using C = CChart2D;
    m_chart->removeAction(C::kMiddleButtonDown, C::kMiddleButtonFlag, C::kNoKey);
    m_chart->removeAction(C::kMiddleButtonDown, C::kShiftFlag, C::kNoKey);
    m_chart->removeAction(C::kMiddleButtonDown, C::kControlFlag, C::kNoKey);
    m_chart->removeAction(C::kLeftButtonDown, C::kControlFlag, C::kNoKey);
    m_chart->removeAction(C::kLeftButtonDown, C::kShiftFlag, C::kNoKey);
    m_chart->removeAction(C::kKeyDown, C::kNoModifier, C::kKeyR);
    m_chart->removeAction(C::kMouseMove, C::kShiftFlag | C::kMiddleButtonFlag, C::kNoKey);
  }
  attachMarkers();
}

void Chart2DReportView::attachMarkers() {
  if (!m_markers) return;
  m_markers->attach(m_chart, m_markerSeries[0], m_markerSeries[1], m_timeAxis);
  m_markers->setReadout(m_levelUnit.text(), m_thresholdNames);
  m_markers->layout(width(), height());
}

bool Chart2DReportView::runCommand(int id) {
  const bool markers = m_markers && m_markers->attachedTo(m_chart);
  switch (id) {
    case ID_VIEW_REF_LEVEL_UP:
      m_axis.raise();
      applyAxisRange();
      break;
    case ID_VIEW_REF_LEVEL_DOWN:
      m_axis.lower();
      applyAxisRange();
      break;
    case ID_VIEW_AUTO_REFERENCE:
      m_axis.autoReference();
      applyAxisRange();
      break;
    case ID_VIEW_ZOOM_IN:
    case ID_VIEW_ZOOM_OUT: {
      const QRect plot = m_chart->plotRect();
      const int x = (plot.left() + plot.width()) / 2, y = (plot.top() + plot.height()) / 2,
                d = plot.height() / 8;
      const int end = id == ID_VIEW_ZOOM_IN ? y + d : y - d;
      m_chart->action(CChart2D::kActionStart, x, y);
      m_chart->action(CChart2D::kActionZoom, x, y);
      m_chart->action(CChart2D::kActionZoom, x, end);
      m_chart->action(CChart2D::kActionEnd, x, end);
      break;
    }
    case ID_VIEW_ZOOM_RESET: m_chart->action(CChart2D::kActionResetZoom, 0, 0); break;
    case ID_MARKER_CENTER:
      if (markers) m_markers->center();
      break;
    case ID_MARKER_DELTA:
      if (markers) m_markers->toggleDelta();
      break;
    case ID_MARKER_TO_PEAK:
      if (markers) m_markers->toPeak();
      showMarkerReadout();
      break;
    case ID_MARKER_NEXT_PEAK_LEFT:
    case ID_MARKER_NEXT_PEAK_RIGHT:
      if (markers) m_markers->nextPeak(id == ID_MARKER_NEXT_PEAK_LEFT ? -1 : 1);
      showMarkerReadout();
      break;
    case ID_GRAPH_COPY: m_chart->copyToClipboard(3); break;
    case ID_VIEW_RESET_CHART_PROPERTIES:
      CChartProperty::applyDefaults(*m_chart, m_graphType);
      drawOverlays();
      break;
    default: {
      const int trace = markerTraceOf(id);
      if (trace < 0 || !markers) return false;
      m_markers->selectTrace(trace);
      break;
    }
  }
  emit commandsChanged();
  return true;
}

void Chart2DReportView::fillFrameState(FrameState& state) const {
  state.viewReady = m_ready;
  if (!m_ready) return;
  const Chart2DState::Axis& y = m_chart->state().axis(Chart2DState::Y);
  state.canRaiseLevel = m_axis.canRaise(y.minimum);
  state.canLowerLevel = m_axis.canLower(y.maximum);
  state.autoReference = m_levelDrawn;
  if (m_markers && m_markers->attachedTo(m_chart))
    for (int t = 0; t < MarkerSet::kTraces; ++t)
      state.traceDrawn[static_cast<size_t>(t)] = m_markers->traceDrawn(t);
}

ChartPainter Chart2DReportView::chartPainter() const {
  if (!m_ready) return {};
  QPointer<CChart2D> chart = m_chart;
  return [chart](QPainter& painter, const QRectF& target) {
    if (chart) chart->paint(painter, target);
  };
}

void Chart2DReportView::saveAppearance() {
  if (!m_ready) return;
  m_look.capture(*m_chart);
  SettingsStore store;
  RegistryKey settings = chartSettings(store);
  m_look.save(settings, m_graphType);
  store.sync();
}

void Chart2DReportView::loadAppearance() {
  SettingsStore store;
  m_look.load(chartSettings(store), m_graphType);
}

bool Chart2DReportView::editAppearance() {
  if (!m_ready) return false;
  EditableLook editable{m_look, seriesInUse()};
  editable.look.capture(*m_chart);
  const bool accepted = ::editAppearance<EditableLook>(this, editable, [this](const EditableLook& e) {
    e.look.apply(*m_chart);
    drawOverlays();
  });
  if (accepted) {
    m_look = editable.look;
    m_look.loaded = 1;  // rebuilds keep what the user chose
  }
  return accepted;
}

void Chart2DReportView::showContextMenu(const QPoint& globalPos) {
  if (!m_ready) return;
  QMenu menu(this);
  QAction* properties = menu.addAction(text(Strings::IDS_UI_CHART_PROPERTIES_MENU));
  QAction* image = menu.addAction(text(Strings::IDS_MENU_SAVE_CHART_IMAGE));
  QAction* chosen = menu.exec(globalPos);
  if (chosen == properties)
    editAppearance();
  else if (chosen == image)
    emit commandRequested(CommandIds::ID_GRAPH_SAVE_IMAGE);
}

void Chart2DReportView::layoutChart(int cx, int cy) {
  m_chart->setGeometry(0, 0, cx, cy);
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  s.area = QSize(std::max(0, cx - 8), std::max(0, cy - 8));
  s.margins = {55, 150, 75, 75};
  s.legendTop = s.area.height() - 100;
  if (m_markers && m_markers->attachedTo(m_chart)) m_markers->layout(cx, cy);
  m_chart->setBatch(false);
}

HoverReadout::Context Chart2DReportView::readoutContext() const {
  return {m_timeAxis, m_levelUnit.text(), m_thresholdNames, m_chart->visibleXMin(), m_chart->visibleXMax()};
}

void Chart2DReportView::showReadout(int px, int py) {
  const QRect plot = m_chart->plotRect();
  if (!m_ready || !plot.contains(px, py)) {
    hideReadout();
    return;
  }
  m_readout->showAt(HoverReadout::lines(m_chart->state(), m_chart->pixelToX(px), readoutContext()),
                    QPoint(px, py), plot);
}

void Chart2DReportView::showMarkerReadout() {
  double x = 0.0;
  if (!m_markers || !m_markers->attachedTo(m_chart) || !m_markers->activeX(x)) return;
  const QRect plot = m_chart->plotRect();
  m_readout->showAt(HoverReadout::lines(m_chart->state(), x, readoutContext()),
                    QPoint(m_chart->xToPixel(x), plot.center().y()), plot);
}

void Chart2DReportView::hideReadout() {
  m_readout->hide();
}

void Chart2DReportView::resizeEvent(QResizeEvent* event) {
  ReportView::resizeEvent(event);
  layoutChart(width(), height());
}

void Chart2DReportView::showEvent(QShowEvent* event) {
  ReportView::showEvent(event);
  layoutChart(width(), height());
}

void Chart2DReportView::applyScale(double scale) {
  m_axis.scale = std::max(1, static_cast<int>(scale));
  const double d = m_axis.scale;
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  Chart2DState::Axis& y = s.axis(Chart2DState::Y);
  y.gridSpacing = d;
  y.numberingSpacing = d;
  y.precision = 0;
  y.minorTickSpacing = 0.2 * d;
  y.minimum = y.maximum - LevelAxis::kDivisions * d;
  y.origin = y.minimum;
  s.axis(Chart2DState::X).gridSpacing = 0.0;
  m_chart->setBatch(false);
}

void Chart2DReportView::applyAxisRange() {
  m_axis.referenceLevel = LevelAxis::clamp(m_axis.referenceLevel, m_axis.scale);
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  Chart2DState::Axis& y = s.axis(Chart2DState::Y);
  y.maximum = m_axis.referenceLevel;
  y.minimum = m_axis.bottom();
  y.origin = y.minimum;
  Chart2DState::Axis& y2 = s.axis(Chart2DState::Y2);
  y2.maximum = 100.0;
  y2.minimum = 0.0;
  m_chart->setBatch(false);
}

bool Chart2DReportView::plotSeries(const SeriesStore::Series& in, int group1Count, PlottedSeries& out) {
  if (!in.hasData) return false;
  const int n = std::clamp(in.entryCount, 0, Blocks::kMaxEntries);
  out.level = in.statistic >= Statistic::kAverage && in.statistic <= Statistic::kMinimum;
  if (!out.level && (in.statistic < Statistic::kThreshold1 || in.statistic > Statistic::kThreshold1 + 3))
    return false;
  out.x.resize(n);
  out.raw.resize(n);
  out.y.resize(n);
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<size_t>(i);
    out.x[i] = m_timeAxis ? static_cast<double>(in.times[at]) : in.frequencies[at];
    out.raw[i] = in.values[at];
    out.y[i] = isNoData(out.raw[i]) ? Blocks::NO_DATA : (out.level ? out.raw[i] + m_levelOffset : out.raw[i]);
    if (out.level) m_axis.track(out.y[i]);
    if (!isNoData(out.y[i])) m_anyValue = true;
  }
  Chart2DState& s = m_chart->edit();
  if (out.level) {
    out.group = 1;
    out.line = in.statistic + 1;
    m_levelDrawn = true;
    m_group1Filled = true;
  } else {
    out.group = 2;
    out.line = in.statistic - Statistic::kThreshold1 + 1;
    m_percentDrawn = true;
    if (!m_group1Filled && n > 0) {
      const double hole = Blocks::NO_DATA;
      m_chart->setSeries(1, 1, out.x.constData(), &hole, 1);
      s.groups[0].seriesCount = group1Count;
      for (int k = 1; k <= 3; ++k) s.at(1, k).display = Chart2DState::Hidden;
      m_group1Filled = true;
    }
  }
  m_chart->setSeries(out.group, out.line, out.x.constData(), out.y.constData(), n);
  s.at(out.group, out.line).display = Chart2DState::Shown;
  if (out.level) s.at(out.group, out.line).legendText = statisticName(in.statistic, {});
  return true;
}

void Chart2DReportView::beginBuild(const ReportData& report) {
  hideReadout();
  m_levelUnit = report.levelUnit;
  m_levelOffset = report.levelUnit.offset();
  m_thresholdNames.clear();
  const ThresholdNames names(report.thresholdNames);
  for (int k = 0; k < ThresholdNames::kCount; ++k) m_thresholdNames << names.displayName(k);
  m_levelDrawn = m_percentDrawn = m_group1Filled = m_anyValue = false;
  m_axis.resetExtremes();
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  for (auto& group : s.groups) {
    group.seriesCount = 4;
    for (auto& series : group.series) {
      series.x.clear();
      series.y.clear();
      series.display = Chart2DState::Hidden;
      series.legendText.clear();
    }
  }
  for (auto& label : s.labels) label.shown = false;
  s.note.clear();
  s.earlier.clear();
  s.axis(Chart2DState::Y).shown = true;
  s.axis(Chart2DState::Y2).maximum = 100.0;
  s.axis(Chart2DState::Y2).minimum = 0.0;
  s.axis(Chart2DState::X).valueLabels.clear();
}

void Chart2DReportView::endBuild(const ReportData& report) {
  Chart2DState& s = m_chart->edit();
  s.axis(Chart2DState::Y).title = report.levelUnit.text();
  s.axis(Chart2DState::Y).shown = m_levelDrawn;
  s.axis(Chart2DState::Y2).shown = m_percentDrawn;
  s.axis(Chart2DState::Y2).title = text(Strings::IDS_UI_UNIT_PERCENT);
  if (!m_anyValue) s.note = text(Strings::IDS_UI_NO_DATA_NOTE);
  applyScale(m_axis.scale);
  m_axis.autoReference();
  applyAxisRange();
  drawOverlays();
  if (m_look.loaded)
    m_look.apply(*m_chart);
  else
    CChartProperty::applyDefaults(*m_chart, m_graphType);
  for (int k = 1; k <= 4; ++k)
    m_chart->edit().at(2, k).legendText =
        text(Strings::IDS_EXCEEDING) + QLatin1Char(' ') + m_thresholdNames[k - 1];
  m_ready = true;
  if (m_markers && m_markers->attachedTo(m_chart)) attachMarkers();
  m_chart->setBatch(false);
  emit commandsChanged();
}

void Chart2DReportView::refreshReport(const ReportData& report) {
  if (!m_ready) {
    showReport(report);
    return;
  }
  const double reference = m_axis.referenceLevel;
  const bool attached = m_markers && m_markers->attachedTo(m_chart);
  const std::array<double, 2> anchors = attached ? m_markers->anchors() : std::array<double, 2>{};
  m_chart->setBatch(true);
  showReport(report);
  m_axis.referenceLevel = LevelAxis::clamp(reference, m_axis.scale);
  applyAxisRange();
  if (attached) m_markers->reanchor(anchors);
  m_chart->setBatch(false);
  emit commandsChanged();
}

void Chart2DReportView::setComparison(const Comparison* comparison) {
  hideReadout();
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  s.earlier.clear();
  const int64_t shift = comparison && m_timeAxis ? comparison->offsetSeconds() : 0;
  for (int trace = 0; comparison && m_ready && trace < MarkerSet::kTraces; ++trace) {
    const auto [group, line] = MarkerSet::seriesOf(trace);
    const Chart2DState::Series& current = s.at(group, line);
    // The trace numbers are the statistic indexes.
    const SeriesStore::Series* then = ComparisonMatch::statistic(comparison->series, trace);
    if (current.display != Chart2DState::Shown || current.x.isEmpty() || !then) continue;
    const bool level = trace < Statistic::kThreshold1;
    const int m = std::clamp(then->entryCount, 0, Blocks::kMaxEntries);
    Chart2DState::EarlierTrace e;
    e.group = group;
    e.line = line;
    e.x.resize(m);
    e.y.resize(m);
    for (int k = 0; k < m; ++k) {
      const auto at = static_cast<size_t>(k);
      e.x[k] = m_timeAxis ? static_cast<double>(then->times[at]) + static_cast<double>(shift)
                          : then->frequencies[at];
      const double v = then->values[at];
      e.y[k] = isNoData(v) ? Blocks::NO_DATA : (level ? v + m_levelOffset : v);
    }
    const int n = static_cast<int>(current.x.size());
    e.atCurrent.fill(Blocks::NO_DATA, n);
    if (m_timeAxis) {
      for (int k = 0; k < n && k < m; ++k) e.atCurrent[k] = e.y[k];
    } else {
      const std::vector<int> columns =
          ComparisonMatch::matchFrequencies(current.x.constData(), n, then->frequencies.data(), m);
      for (int k = 0; k < n; ++k)
        if (const int c = columns[static_cast<size_t>(k)]; c >= 0) e.atCurrent[k] = e.y[c];
    }
    const QString name =
        current.legendText.isEmpty() ? MarkerSet::traceName(trace, m_thresholdNames) : current.legendText;
    e.legendText = text(Strings::IDS_UI_COMPARE_LEGEND).arg(name, comparison->periodText());
    s.earlier.push_back(std::move(e));
  }
  m_chart->setBatch(false);
}
