#include "views/SeriesRules.h"

#include "query/NoData.h"

namespace SeriesRules {

QVector<int> frequencyLabelIndices(const QVector<double>& frequencies, double start, double stop) {
  QVector<int> out;
  int first = -1, count = 0;
  for (int i = 0; i < frequencies.size(); ++i)
    if (frequencies[i] >= start && frequencies[i] <= stop) {
      if (first < 0) first = i;
      ++count;
    }
  const int step = count >= 15 ? count / 15 : 1;
  for (int i = 0; i < count; i += step) out.push_back(first + i);
  return out;
}

QVector<bool> timeLabelled(const QVector<uint32_t>& times) {
  const int n = times.size();
  QVector<bool> out(n, false);
  if (n == 0) return out;
  const double gap = (static_cast<double>(times[n - 1]) - times[0]) * 12.0 * 0.001;
  double lastLabelled = times[0];
  for (int i = 0; i < n; ++i) {
    const double t = times[i];
    const bool label = i == 0 || i == n - 1 || (t - lastLabelled > gap && times[n - 1] - t > gap);
    if (label) {
      out[i] = true;
      lastLabelled = t;
    }
  }
  return out;
}

QVector<double> isolatedPoints(const QVector<double>& raw, const QVector<double>& plotted) {
  const int n = raw.size();
  QVector<double> out(n, Blocks::NO_DATA);
  for (int i = 0; i < n; ++i) {
    const bool before = i == 0 || isNoData(raw[i - 1]);
    const bool after = i == n - 1 || isNoData(raw[i + 1]);
    if (!isNoData(plotted[i]) && before && after) out[i] = plotted[i];
  }
  return out;
}

}  // namespace SeriesRules
