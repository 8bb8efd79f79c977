#pragma once

#include <QVector>

#include <vector>

// Peaks of one trace of a 2D chart, over the points a marker may sit on:
// inside the visible x range and with a sample. Results are indices into the
// trace's arrays; -1 means there is none, and the marker stays.
//
// A peak is a run of equal values (one point, or a plateau) whose
// neighbouring samples are lower and which, on both sides, falls at least
// `excursion` below its value before a higher point or the end of the range
// comes. A run that reaches the end of the range without that fall is not a
// peak: a trace still rising at the edge has its top outside the view.
// A plateau counts once, at its middle point (the left one of two).
class PeakSearch {
public:
  // Level traces: 3 dB; percentage traces: 3 %.
  static constexpr double kExcursion = 3.0;

  PeakSearch(const QVector<double>& x, const QVector<double>& y, double lo, double hi,
             double excursion = kExcursion);

  // The highest point; the first of equal highs.
  int highest() const;
  // The nearest peak wholly left (direction < 0) or right (> 0) of `from`.
  int next(int from, int direction) const;

  struct Peak {
    int first = 0;   // index of the plateau's first point
    int last = 0;    // and of its last
    int middle = 0;  // where the marker goes
  };
  const std::vector<Peak>& peaks() const { return m_peaks; }

private:
  std::vector<int> m_points;  // usable indices, ascending
  std::vector<Peak> m_peaks;
  int m_yHighest = -1;
};
