#include "views/MarkerSet.h"

#include "chart/CChart2D.h"
#include "chart/PeakSearch.h"
#include "core/CNBDateTime.h"
#include "query/NoData.h"
#include "resources/Strings.h"
#include "views/CommandEnabling.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

// Trace t lives in chart group 1 series 1 to 3 (levels) or group 2 series
// 1 to 4 (percentages) in both 2D reports.
int traceGroup(int trace) {
  return trace < 3 ? 1 : 2;
}
int traceSeries(int trace) {
  return trace < 3 ? trace + 1 : trace - 2;
}

constexpr double kMarkerLow = -220.0;
constexpr double kMarkerHigh = 220.0;

}  // namespace

void MarkerSet::attach(CChart2D* chart, int marker1Series, int marker2Series, bool timeAxis) {
  // The markers stay on across rebuilds and a switch to the other 2D report:
  // each keeps its trace and point index and is drawn again on the chart
  // now attached.
  m_chart = chart;
  m_series = {marker1Series, marker2Series};
  m_timeAxis = timeAxis;
  m_dragging = false;
  if (!m_chart) return;
  m_chart->setBatch(true);
  // A marker moves often: its line and readouts repaint on their own layer.
  m_chart->setOverlaySeries(1, marker1Series);
  m_chart->setOverlaySeries(1, marker2Series);
  for (int which = 1; which <= 2; ++which) {
    Marker& m = m_markers[static_cast<size_t>(which - 1)];
    if (const QVector<double>* x = traceX(m.trace); x && !x->isEmpty())
      m.index = std::clamp(m.index, 0, static_cast<int>(x->size()) - 1);
    draw(which);
  }
  updateReadouts();
  m_chart->setBatch(false);
}

void MarkerSet::setReadout(const QString& unit, const QStringList& thresholdNames) {
  m_unit = unit;
  m_thresholdNames = thresholdNames;
  updateReadouts();
}

void MarkerSet::clear() {
  if (m_chart) m_chart->setBatch(true);
  switchOff(2);
  switchOff(1);
  m_active = 0;
  m_dragging = false;
  updateReadouts();
  if (m_chart) m_chart->setBatch(false);
}

bool MarkerSet::traceDrawn(int trace) const {
  const QVector<double>* x = traceX(trace);
  return x && !x->isEmpty();
}

const QVector<double>* MarkerSet::traceX(int trace) const {
  if (!m_chart || trace < 0 || trace >= kTraces) return nullptr;
  const Chart2DState& s = m_chart->state();
  const int g = traceGroup(trace), n = traceSeries(trace);
  const Chart2DState::Series& series = s.at(g, n);
  if (n > s.groups[static_cast<size_t>(g - 1)].seriesCount || series.display != Chart2DState::Shown)
    return nullptr;
  return &series.x;
}

const QVector<double>* MarkerSet::traceY(int trace) const {
  if (!traceX(trace)) return nullptr;
  return &m_chart->state().at(traceGroup(trace), traceSeries(trace)).y;
}

int MarkerSet::nearestPoint(const QVector<double>& x, const QVector<double>& y, double target, double lo,
                            double hi) {
  int best = -1;
  double bestDistance = std::numeric_limits<double>::infinity();
  const int n = std::min(x.size(), y.size());
  for (int i = 0; i < n; ++i) {
    if (x[i] < lo || x[i] > hi || isNoData(y[i])) continue;
    const double d = std::abs(x[i] - target);
    if (!(d < bestDistance)) break;
    best = i;
    bestDistance = d;
  }
  return best;
}

int MarkerSet::nearestOnTrace(int trace, double target) const {
  const QVector<double>* x = traceX(trace);
  const QVector<double>* y = traceY(trace);
  if (!x || !y) return -1;
  return nearestPoint(*x, *y, target, m_chart->visibleXMin(), m_chart->visibleXMax());
}

bool MarkerSet::switchOn(int which, int trace) {
  if (!m_chart) return false;
  const double middle = (m_chart->visibleXMin() + m_chart->visibleXMax()) * 0.5;
  const int index = nearestOnTrace(trace, middle);
  if (index < 0) return false;
  Marker& m = m_markers[static_cast<size_t>(which - 1)];
  m.trace = trace;
  m.index = index;
  m_active = which;
  draw(which);
  return true;
}

void MarkerSet::switchOff(int which) {
  Marker& m = m_markers[static_cast<size_t>(which - 1)];
  m.trace = kNoTrace;
  m.index = 0;
  if (m_active == which) m_active = which == 2 && m_markers[0].on() ? 1 : 0;
  draw(which);
}

void MarkerSet::moveTo(int which, int index) {
  Marker& m = m_markers[static_cast<size_t>(which - 1)];
  const QVector<double>* x = traceX(m.trace);
  if (!x || x->isEmpty()) return;
  m.index = std::clamp(index, 0, static_cast<int>(x->size()) - 1);
  draw(which);
}

void MarkerSet::draw(int which) {
  if (!m_chart) return;
  const int series = m_series[static_cast<size_t>(which - 1)];
  const Marker& m = m_markers[static_cast<size_t>(which - 1)];
  // A trace this report does not draw leaves its marker on without a line.
  if (m.on() && traceX(m.trace)) {
    const double x = xOf(m);
    const double xs[2] = {x, x};
    const double ys[2] = {kMarkerLow, kMarkerHigh};
    m_chart->setSeries(1, series, xs, ys, 2);
    m_chart->setDisplay(1, series, Chart2DState::Shown);
  } else {
    m_chart->setSeries(1, series, nullptr, nullptr, 0);
    m_chart->setDisplay(1, series, Chart2DState::Off);
  }
}

double MarkerSet::xOf(const Marker& m) const {
  const QVector<double>* x = traceX(m.trace);
  return x && m.index < x->size() ? (*x)[m.index] : 0.0;
}

double MarkerSet::yOf(const Marker& m) const {
  const QVector<double>* y = traceY(m.trace);
  return y && m.index < y->size() ? (*y)[m.index] : Blocks::NO_DATA;
}

void MarkerSet::selectTrace(int trace) {
  if (!m_chart || trace < 0 || trace >= kTraces) return;
  m_chart->setBatch(true);
  Marker& m1 = m_markers[0];
  if (!m1.on()) {
    switchOn(1, trace);
  } else if (m1.trace == trace) {
    switchOff(2);
    switchOff(1);
  } else if (traceDrawn(trace)) {
    // The point index stays; the x value is the new trace's.
    for (int which = 1; which <= 2; ++which) {
      Marker& m = m_markers[static_cast<size_t>(which - 1)];
      if (!m.on()) continue;
      m.trace = trace;
      moveTo(which, m.index);
    }
  }
  updateReadouts();
  m_chart->setBatch(false);
}

void MarkerSet::center() {
  if (!m_chart || !m_markers[0].on()) return;
  m_chart->setBatch(true);
  const double middle = (m_chart->visibleXMin() + m_chart->visibleXMax()) * 0.5;
  for (int which = 1; which <= 2; ++which) {
    const Marker& m = m_markers[static_cast<size_t>(which - 1)];
    if (!m.on()) continue;
    const int index = nearestOnTrace(m.trace, middle);
    if (index >= 0) moveTo(which, index);
  }
  updateReadouts();
  m_chart->setBatch(false);
}

void MarkerSet::toggleDelta() {
  if (!m_chart || !m_markers[0].on()) return;
  m_chart->setBatch(true);
  if (m_markers[1].on())
    switchOff(2);
  else
    switchOn(2, m_markers[0].trace);
  updateReadouts();
  m_chart->setBatch(false);
}

void MarkerSet::step(int direction) {
  if (!m_chart || m_active == 0) return;
  const Marker& m = m_markers[static_cast<size_t>(m_active - 1)];
  const QVector<double>* y = traceY(m.trace);
  if (!y) return;
  int i = m.index + (direction < 0 ? -1 : 1);
  while (i >= 0 && i < y->size() && isNoData((*y)[i])) i += direction < 0 ? -1 : 1;
  if (i < 0 || i >= y->size()) return;  // at either end the marker stays
  m_chart->setBatch(true);
  moveTo(m_active, i);
  updateReadouts();
  m_chart->setBatch(false);
}

void MarkerSet::moveActive(int index) {
  if (index < 0) return;  // nothing found: the marker stays
  m_chart->setBatch(true);
  moveTo(m_active, index);
  updateReadouts();
  m_chart->setBatch(false);
}

int MarkerSet::peakFromActive(int direction) const {
  if (!m_chart || m_active == 0) return -1;
  const Marker& m = m_markers[static_cast<size_t>(m_active - 1)];
  const QVector<double>* x = traceX(m.trace);
  const QVector<double>* y = traceY(m.trace);
  if (!x || !y) return -1;
  const PeakSearch peaks(*x, *y, m_chart->visibleXMin(), m_chart->visibleXMax());
  return direction == 0 ? peaks.highest() : peaks.next(m.index, direction);
}

bool MarkerSet::activeX(double& x) const {
  if (!m_chart || m_active == 0 || !m_markers[static_cast<size_t>(m_active - 1)].on()) return false;
  x = xOf(m_markers[static_cast<size_t>(m_active - 1)]);
  return true;
}

void MarkerSet::toPeak() {
  moveActive(peakFromActive(0));
}

void MarkerSet::nextPeak(int direction) {
  moveActive(peakFromActive(direction < 0 ? -1 : 1));
}

bool MarkerSet::press(int px, int py) {
  if (!m_chart || !m_markers[0].on()) return false;
  const QPoint at(px, py);
  for (const int which : {1, 2}) {
    if (!m_markers[static_cast<size_t>(which - 1)].on()) continue;
    const int base = which == 1 ? 1 : 4;
    for (const int label : {base, base + 1, base + 2, which == 1 ? 7 : 8})
      if (m_chart->labelRect(label).contains(at)) {
        m_active = which;
        updateReadouts();
        return true;
      }
  }
  if (!m_chart->plotRect().contains(at)) return false;
  const double x = m_chart->pixelToX(px);
  int which = m_active == 0 ? 1 : m_active;
  if (m_markers[1].on()) {
    const double d1 = std::abs(xOf(m_markers[0]) - x), d2 = std::abs(xOf(m_markers[1]) - x);
    if (d1 < d2)
      which = 1;
    else if (d2 < d1)
      which = 2;
  } else {
    which = 1;
  }
  m_active = which;
  m_dragging = true;
  drag(px);
  return true;
}

void MarkerSet::drag(int px) {
  if (!m_chart || !m_dragging || m_active == 0) return;
  const Marker& m = m_markers[static_cast<size_t>(m_active - 1)];
  const int index = nearestOnTrace(m.trace, m_chart->pixelToX(px));
  m_chart->setBatch(true);
  if (index >= 0) moveTo(m_active, index);
  updateReadouts();
  m_chart->setBatch(false);
}

QString MarkerSet::xText(double x, bool timeAxis) {
  if (timeAxis) return CNBDateTime::FromSeconds(static_cast<int32_t>(std::llround(x))).LocalDateTimeText();
  return QString::asprintf("%.3lf", x) + QLatin1Char(' ') + text(Strings::IDS_UI_MHZ);
}

QString MarkerSet::valueText(int trace, double value, const QString& unit) {
  if (isNoData(value)) return text(Strings::IDS_UI_UNAVAILABLE);
  if (trace >= 3) return QString::asprintf("%.3lf%%", value);
  return QString::asprintf("%.3lf", value) + QLatin1Char(' ') + unit;
}

QString MarkerSet::traceName(int trace, const QStringList& thresholdNames) {
  switch (trace) {
    case 0: return text(Strings::IDS_STAT_AVERAGE);
    case 1: return text(Strings::IDS_STAT_MAXIMUM);
    case 2: return text(Strings::IDS_STAT_MINIMUM);
    default: return trace - 3 < thresholdNames.size() ? thresholdNames[trace - 3] : QString();
  }
}

void MarkerSet::layout(int cx, int cy) {
  m_cx = cx;
  m_cy = cy;
  updateReadouts();
}

void MarkerSet::updateReadouts() {
  if (!m_chart) return;
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->editLabels();
  const bool wide = m_cx > kReadoutMinWidth;
  const Marker& m1 = m_markers[0];
  const Marker& m2 = m_markers[1];
  const int rows[2] = {m_cy - 48, m_cy - 28};
  for (int which = 1; which <= 2; ++which) {
    const Marker& m = which == 1 ? m1 : m2;
    const int base = which == 1 ? 1 : 4;
    const int y = rows[which - 1];
    const QString prefix = text(which == 1 ? Strings::IDS_UI_MARKER_PREFIX : Strings::IDS_UI_DELTA_PREFIX);
    QString value;
    if (which == 1) {
      value = valueText(m.trace, yOf(m), m_unit);
    } else {
      const double a = yOf(m1), b = yOf(m2);
      value = valueText(m.trace, isNoData(a) || isNoData(b) ? Blocks::NO_DATA : b - a, m_unit);
    }
    const QString x = traceX(m.trace) ? xText(xOf(m), m_timeAxis) : QString();
    const QString texts[3] = {prefix + traceName(m.trace, m_thresholdNames), x, value};
    const int xs[3] = {20, m_cx / 2, m_cx - 100};
    for (int k = 0; k < 3; ++k) {
      Chart2DState::Label& l = s.label(base + k);
      l.text = m.on() ? texts[k] : QString();
      l.shown = m.on() && wide;
      l.position = QPoint(xs[k], y);
    }
    Chart2DState::Label& indicator = s.label(which == 1 ? 7 : 8);
    indicator.text = text(Strings::IDS_UI_ACTIVE_MARKER);
    indicator.shown = m.on() && wide && m_active == which;
    indicator.position = QPoint(6, y);
  }
  m_chart->setBatch(false);
}

void MarkerSet::fill(FrameState& state) const {
  state.marker1Trace = m_markers[0].on() ? m_markers[0].trace : -1;
  state.marker2On = m_markers[1].on();
  state.activeMarkerOn = m_active != 0 && m_markers[static_cast<size_t>(m_active - 1)].on();
}

std::array<double, 2> MarkerSet::anchors() const {
  std::array<double, 2> xs{};
  for (size_t i = 0; i < 2; ++i) {
    const Marker& m = m_markers[i];
    xs[i] = m.on() && traceX(m.trace) ? xOf(m) : std::nan("");
  }
  return xs;
}

void MarkerSet::reanchor(const std::array<double, 2>& xs) {
  if (!m_chart) return;
  m_chart->setBatch(true);
  for (int which = 1; which <= 2; ++which) {
    const double anchor = xs[static_cast<size_t>(which - 1)];
    const Marker& m = m_markers[static_cast<size_t>(which - 1)];
    const QVector<double>* x = traceX(m.trace);
    if (!m.on() || std::isnan(anchor) || !x || x->isEmpty()) continue;
    const auto at = std::lower_bound(x->begin(), x->end(), anchor);
    if (anchor < x->front() || anchor > x->back()) {
      if (which == 1) switchOff(2);
      switchOff(which);
      continue;
    }
    // The window moved by less than a step or by whole steps: the nearest
    // point is the one the marker sat on.
    const auto nearest =
        at != x->begin() && (at == x->end() || anchor - *(at - 1) < *at - anchor) ? at - 1 : at;
    moveTo(which, static_cast<int>(nearest - x->begin()));
  }
  updateReadouts();
  m_chart->setBatch(false);
}
