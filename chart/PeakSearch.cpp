#include "chart/PeakSearch.h"

#include "query/NoData.h"

PeakSearch::PeakSearch(const QVector<double>& x, const QVector<double>& y, double lo, double hi,
                       double excursion) {
  const int n = static_cast<int>(std::min(x.size(), y.size()));
  for (int i = 0; i < n; ++i)
    if (x[i] >= lo && x[i] <= hi && !isNoData(y[i])) m_points.push_back(i);

  const int count = static_cast<int>(m_points.size());
  auto value = [&](int k) { return y[m_points[static_cast<size_t>(k)]]; };
  // Whether the trace falls by the excursion from `top`, walking from k in
  // `step`, before it rises above `top` or runs out.
  auto falls = [&](int k, int step, double top) {
    for (; k >= 0 && k < count; k += step) {
      const double v = value(k);
      if (v > top) return false;
      if (top - v >= excursion) return true;
    }
    return false;
  };
  for (int a = 0; a < count;) {
    int b = a;
    while (b + 1 < count && value(b + 1) == value(a)) ++b;
    const double top = value(a);
    if (falls(a - 1, -1, top) && falls(b + 1, 1, top)) {
      const int mid = a + (b - a) / 2;
      m_peaks.push_back({m_points[static_cast<size_t>(a)], m_points[static_cast<size_t>(b)],
                         m_points[static_cast<size_t>(mid)]});
    }
    a = b + 1;
  }
  m_yHighest = -1;
  for (int k = 0; k < count; ++k)
    if (m_yHighest < 0 || value(k) > y[m_yHighest]) m_yHighest = m_points[static_cast<size_t>(k)];
}

int PeakSearch::highest() const {
  return m_yHighest;
}

int PeakSearch::next(int from, int direction) const {
  if (direction > 0) {
    for (const Peak& p : m_peaks)
      if (p.first > from) return p.middle;
    return -1;
  }
  for (auto it = m_peaks.rbegin(); it != m_peaks.rend(); ++it)
    if (it->last < from) return it->middle;
  return -1;
}
