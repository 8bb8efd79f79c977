#pragma once

#include "query/NoData.h"

#include <QString>
#include <QVector>

#include <vector>

struct RibbonSet;

// A ribbon report as the 3D chart draws it: each ribbon two equal rows and
// a row of holes, so 3R rows of N columns; levels carry the amplitude
// offset, percentages do not; anything at or above the hole value is
// exactly the hole value.
struct RibbonGrid {
  int ribbons = 0;  // R
  int columns = 0;  // N
  bool percent = false;
  std::vector<double> values;       // 3R x N, row-major
  std::vector<double> frequencies;  // the first ribbon's, MHz, ascending
  std::vector<QString> labels;      // one per ribbon

  int rows() const { return 3 * ribbons; }
  double at(int row, int column) const { return values[static_cast<size_t>(row * columns + column)]; }
  // True when there is nothing to draw: no ribbon, no frequency, or holes only.
  bool empty() const;

  static RibbonGrid build(const RibbonSet& set, double levelOffset);
};

// Where the labels and the data window of a ribbon chart fall.
namespace RibbonAxes {

// The column of a frequency bound for the 24 Hour and Multi-Day reports: a
// point within 0.0001 MHz of the bound, else the point below it; a bound
// below the first frequency gives column 0, one beyond the last column N-1.
int columnAtOrBelow(const std::vector<double>& frequencies, double bound);
// The first column whose frequency is at least the bound, at most N-1.
int columnAtOrAbove(const std::vector<double>& frequencies, double bound);

// One text per column: "%.2lf" of the frequency at lo, at hi, and between
// them where the label stands more than the minimum gap from the last one
// and from hi; blank elsewhere.
QVector<QString> frequencyLabels(const std::vector<double>& frequencies, int lo, int hi, int labelSize);

struct Extremes {
  double minimum = 220.0;
  double maximum = -220.0;
  bool any() const { return maximum >= minimum; }
};
// The smallest and largest drawn value in columns lo..hi of every ribbon.
Extremes extremes(const RibbonGrid& grid, int lo, int hi);

// The ribbons that carry a label: all of them, or, thinned, every third
// from the second when there are 25 or more.
std::vector<int> labelledRibbons(int ribbonCount, bool thinned);

// "12.X", or "12.X - 13.X" when the last block's number differs.
QString versionText(int first, int last);

struct ValueLabel {
  int value = 0;
  QString text;  // "%d", or blank where it would crowd
};
// Labels from the top down to above the bottom, spaced by the step, blank
// where closer than the minimum gap.
QVector<ValueLabel> valueLabels(int top, int bottom, int step, int span, int labelSize);
// Levels at bottom, bottom + step, ... below top + step; no level at 0 when
// the bottom is 0.
QVector<double> valueLevels(int top, int bottom, int step);

}  // namespace RibbonAxes
