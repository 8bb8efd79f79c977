#pragma once

#include <QString>
#include <QVector>

// The rules of the graph property dialog, free of widgets: which controls a
// report offers, how the frequency edits snap to the result's frequencies,
// how the spins move, and what OK refuses.
namespace GraphPropsRules {

constexpr int kMinRange = 40;
constexpr int kMaxRange = 100;
constexpr int kRangeSpinStep = 5;

struct Layout {
  QString title;
  QString amplitudeGroup;
  QString startLabel;
  QString stopLabel;
  QString rangeLabel;  // the range label doubles as the scale label on 2D reports
  QString stepLabel;
  bool startEnabled = true;
  bool stopShown = true;      // the stop edit
  bool spinsShown = true;     // both frequency spins
  bool rangeShown = false;    // the range edit and its spin (3D)
  bool scaleShown = false;    // the scale combo (2D)
  bool levelsEnabled = true;  // the scale and step combos
  bool checkFrequencies = true;
};

// The controls of one report type. `percent`: the 3D report shows a
// percentage statistic; `levelTraceDrawn`: a 2D report draws its average,
// maximum or minimum, without which scale and step mean nothing.
Layout layoutFor(int graphType, bool percent, bool levelTraceDrawn);

// The list position a typed frequency stands for: a value within 0.0001 of
// a list frequency is that one, a value between two is the lower, a value
// outside the list is its nearer end.
int nearestIndex(const QVector<double>& frequencies, double value);

// How many decimals the frequency edits show: the fewest, from 3, at which
// every list frequency as shown lies within the snapping tolerance of itself
// and reads back as its own position (a 500-point plan from 5 MHz steps by
// 0.1202... MHz, which 3 decimals would snap to the neighbour below).
int decimalsFor(const QVector<double>& frequencies);

// The index after a spin notification of `delta` (negative or zero moves up
// the list, positive down), by the notification's magnitude unless that
// would leave the list, then by one, and never past either end.
int spinIndex(int index, int delta, int count);

// The range after a spin notification; a step that would leave the allowed
// band (at least the minimum range and 40, at most 100) keeps the range.
int spinRange(int range, int delta, int minimumRange);

// OK's clamp of a typed range.
int clampRange(int range);

enum class Refusal { None, StartOutOfRange, StopOutOfRange, StopNotAboveStart };

// OK's checks in their order, against the result's own first and last
// frequency with a tolerance of 0.00001 MHz.
Refusal checkFrequencies(double start, double stop, double lowest, double highest);

// The message of a refusal; empty for None.
QString refusalText(Refusal refusal);

}  // namespace GraphPropsRules
