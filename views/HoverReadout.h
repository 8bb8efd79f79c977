#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

struct Chart2DState;

// One line of a value readout; an invalid colour means the readout's own
// text colour.
struct ReadoutLine {
  QString text;
  QColor colour;
  bool operator==(const ReadoutLine&) const = default;
};

// What the pointer reads off a 2D chart: the x value under it and, for
// every drawn trace, the value of the trace's point nearest that x by the
// markers' rule (visible points with a sample), formatted as the marker
// readouts format them.
class HoverReadout {
public:
  struct Context {
    bool timeAxis = false;
    QString unit;  // of the level traces
    QStringList thresholdNames;
    double lo = 0.0;  // visible x range
    double hi = 0.0;
  };

  static QVector<ReadoutLine> lines(const Chart2DState& state, double x, const Context& context);
  // "Difference: +1.500 dB" (percentage points on a percentage), or
  // "Difference: Unavailable" where either side has no sample.
  static QString differenceText(double difference, bool percent);

  // Where a box of `box` goes beside the pointer: right of and below it,
  // flipped to the other side where it would leave `plot`, and kept inside.
  static QPoint place(const QPoint& pointer, const QSize& box, const QRect& plot);
  static constexpr int kGap = 12;
};
