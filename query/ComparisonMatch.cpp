#include "query/ComparisonMatch.h"

#include "query/NoData.h"

#include <algorithm>
#include <cmath>

namespace ComparisonMatch {

namespace {
constexpr double kTolerance = 0.0001;  // MHz, the snapping tolerance of the frequency edits
}

std::vector<int> nearestColumns(const double* f, int n, const double* targets, int count) {
  std::vector<int> out(static_cast<size_t>(std::max(0, count)), 0);
  if (n <= 0) return out;
  int column = 0;
  for (int k = 0; k < count; ++k) {
    while (column + 1 < n && targets[k] >= (f[column] + f[column + 1]) / 2.0) ++column;
    out[static_cast<size_t>(k)] = column;
  }
  return out;
}

std::vector<int> matchFrequencies(const double* current, int n, const double* earlier, int m) {
  std::vector<int> out = nearestColumns(earlier, m, current, n);
  for (int k = 0; k < n; ++k)
    if (m <= 0 || current[k] < earlier[0] - kTolerance || current[k] > earlier[m - 1] + kTolerance)
      out[static_cast<size_t>(k)] = -1;
  return out;
}

double difference(double current, double earlier) {
  if (isNoData(current) || isNoData(earlier)) return Blocks::NO_DATA;
  return current - earlier;
}

RibbonDifference rows(const Layout& current, const Layout& earlier) {
  RibbonDifference d;
  d.rows = std::max(0, current.rows);
  d.columns = d.rows > 0 ? std::max(0, current.columns) : 0;
  const size_t size = static_cast<size_t>(d.rows) * static_cast<size_t>(d.columns);
  d.earlier.assign(size, Blocks::NO_DATA);
  d.difference.assign(size, Blocks::NO_DATA);
  if (d.columns == 0) return d;
  const int m = earlier.rows > 0 ? std::max(0, earlier.columns) : 0;
  const std::vector<int> columns = matchFrequencies(current.frequencies, d.columns, earlier.frequencies, m);
  for (int r = 0; r < d.rows && r < earlier.rows && m > 0; ++r) {
    const double* now = current.row(r);
    const double* then = earlier.row(r);
    double* e = d.earlier.data() + static_cast<size_t>(r) * d.columns;
    double* diff = d.difference.data() + static_cast<size_t>(r) * d.columns;
    for (int k = 0; k < d.columns; ++k) {
      const int c = columns[static_cast<size_t>(k)];
      if (c < 0) continue;
      e[k] = isNoData(then[c]) ? Blocks::NO_DATA : then[c];
      diff[k] = difference(now[k], e[k]);
    }
  }
  return d;
}

RibbonDifference ribbons(const RibbonSet& current, const RibbonSet& earlier) {
  // Each answer keeps one plan for all its ribbons: the first ribbon's.
  const auto layout = [](const RibbonSet& set) {
    Layout l;
    l.rows = std::max(0, set.ribbonCount);
    l.columns = l.rows > 0 ? std::clamp(set.frequencyCount, 0, Blocks::kMaxEntries) : 0;
    if (l.columns > 0) l.frequencies = set.frequencies(0).data();
    l.row = [&set](int r) { return set.values(r).data(); };
    return l;
  };
  RibbonDifference d = rows(layout(current), layout(earlier));
  d.percent = current.percent;
  return d;
}

double scaleLimit(const std::vector<double>& difference) {
  double largest = 0.0;
  for (const double d : difference)
    if (!isNoData(d)) largest = std::max(largest, std::abs(d));
  return std::max(1.0, std::ceil(largest));
}

std::vector<double> series(const SeriesStore::Series& current, const SeriesStore::Series& earlier,
                           bool byFrequency) {
  const int n = std::clamp(current.entryCount, 0, Blocks::kMaxEntries);
  const int m = earlier.hasData ? std::clamp(earlier.entryCount, 0, Blocks::kMaxEntries) : 0;
  std::vector<double> out(static_cast<size_t>(n), Blocks::NO_DATA);
  if (byFrequency) {
    const std::vector<int> columns =
        matchFrequencies(current.frequencies.data(), n, earlier.frequencies.data(), m);
    for (int k = 0; k < n; ++k)
      if (const int c = columns[static_cast<size_t>(k)]; c >= 0)
        out[static_cast<size_t>(k)] = earlier.values[static_cast<size_t>(c)];
  } else {
    for (int k = 0; k < n && k < m; ++k) out[static_cast<size_t>(k)] = earlier.values[static_cast<size_t>(k)];
  }
  for (double& v : out)
    if (isNoData(v)) v = Blocks::NO_DATA;
  return out;
}

const SeriesStore::Series* statistic(const SeriesStore& store, int statistic) {
  const int count = std::clamp(store.count, 0, static_cast<int>(store.series.size()));
  for (int i = 0; i < count; ++i) {
    const SeriesStore::Series& s = store.series[static_cast<size_t>(i)];
    if (s.statistic == statistic && s.hasData) return &s;
  }
  return nullptr;
}

}  // namespace ComparisonMatch
