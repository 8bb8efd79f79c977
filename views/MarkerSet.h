#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <utility>

#include "chart/CChart2D.h"
struct FrameState;

// The two markers of the 2D reports, owned by the main frame and lent to
// whichever 2D view is on show: marker 1 and the delta marker 2, each on a
// trace (0 Average, 1 Maximum, 2 Minimum, 3 to 6 thresholds 1 to 4) at a
// point index, drawn as a vertical line series of chart group 1, with
// readouts in chart labels 1 to 8.
class MarkerSet {
public:
  static constexpr int kNoTrace = 7;
  static constexpr int kTraces = 7;
  // Marker readouts and their labels show only in a chart area this wide.
  static constexpr int kReadoutMinWidth = 375;

  struct Marker {
    int trace = kNoTrace;
    int index = 0;
    bool on() const { return trace != kNoTrace; }
  };

  // A view lends its chart: the series that draw the two markers and
  // whether x is a time (seconds since 1970) or a frequency (MHz). The
  // markers that are on are drawn on it at their trace and index.
  void attach(CChart2D* chart, int marker1Series, int marker2Series, bool timeAxis);
  // What the readouts need of the report on show.
  void setReadout(const QString& unit, const QStringList& thresholdNames);

  // Both markers off.
  void clear();
  // The trace commands of the Marker menu.
  void selectTrace(int trace);
  void center();
  void toggleDelta();
  // Keypad 4 / 6: the active marker to the previous / next point with a sample.
  void step(int direction);
  // Peak search on the active marker's trace within the visible x range:
  // to its highest point, or to the nearest peak left (-1) or right (1).
  void toPeak();
  void nextPeak(int direction);
  // A click: a readout label selects its marker, a click in the plot moves
  // the nearer marker there (the active one when both are as near). True
  // when the click was taken.
  bool press(int px, int py);
  void drag(int px);
  void release() { m_dragging = false; }
  // Places and shows the readouts for a chart area of cx by cy pixels.
  void layout(int cx, int cy);

  const Marker& marker(int which) const { return m_markers[static_cast<size_t>(which - 1)]; }
  int active() const { return m_active; }
  bool attachedTo(const CChart2D* chart) const { return chart && m_chart == chart; }
  bool traceDrawn(int trace) const;
  // Marker 1's trace and marker 2, whichever report is on show.
  void fill(FrameState& state) const;

  // The point of (x, y) nearest `target` among those inside [lo, hi] with a
  // sample; the scan stops at the first point no nearer than the best, and
  // the first of equal distances wins. -1 when there is none.
  static int nearestPoint(const QVector<double>& x, const QVector<double>& y, double target, double lo,
                          double hi);
  static QString xText(double x, bool timeAxis);
  // `value` as plotted, level offset included; hole values read "Unavailable".
  static QString valueText(int trace, double value, const QString& unit);
  static QString traceName(int trace, const QStringList& thresholdNames);
  // Chart group and series of trace t in both 2D reports.
  static std::pair<int, int> seriesOf(int trace) {
    return {trace < 3 ? 1 : 2, trace < 3 ? trace + 1 : trace - 2};
  }
  // The x of each marker's point, NaN for a marker off: taken before a
  // rebuild over a window that has moved on.
  std::array<double, 2> anchors() const;
  // After that rebuild: each marker back on the point of its x, or off once
  // its x has left the trace (marker 2 with marker 1).
  void reanchor(const std::array<double, 2>& xs);
  // The x of the active marker's point; false when no marker is active.
  bool activeX(double& x) const;

private:
  const QVector<double>* traceX(int trace) const;
  const QVector<double>* traceY(int trace) const;
  bool switchOn(int which, int trace);
  void switchOff(int which);
  void moveTo(int which, int index);
  void moveActive(int index);
  int peakFromActive(int direction) const;
  int nearestOnTrace(int trace, double target) const;
  void draw(int which);
  void updateReadouts();
  double xOf(const Marker& m) const;
  double yOf(const Marker& m) const;

  QPointer<CChart2D> m_chart;
  std::array<int, 2> m_series{4, 15};
  bool m_timeAxis = false;
  std::array<Marker, 2> m_markers{};
  int m_active = 0;
  bool m_dragging = false;
  QString m_unit;
  QStringList m_thresholdNames;
  int m_cx = 0, m_cy = 0;
};
