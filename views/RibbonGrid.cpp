#include "views/RibbonGrid.h"

#include "query/RibbonSet.h"

#include <algorithm>
#include <cmath>

bool RibbonGrid::empty() const {
  if (ribbons == 0 || columns == 0) return true;
  return std::none_of(values.begin(), values.end(), [](double v) { return !isNoData(v); });
}

RibbonGrid RibbonGrid::build(const RibbonSet& set, double levelOffset) {
  RibbonGrid g;
  g.percent = set.percent;
  g.ribbons = std::max(0, set.ribbonCount);
  g.columns = g.ribbons > 0
                  ? std::clamp(set.frequencyCount, 0, static_cast<int>(std::tuple_size_v<Blocks::Values>))
                  : 0;
  g.values.assign(static_cast<size_t>(g.rows() * g.columns), Blocks::NO_DATA);
  g.labels.resize(static_cast<size_t>(g.ribbons));
  if (g.columns == 0) return g;
  const Blocks::Values& f = set.frequencies(0);
  g.frequencies.assign(f.begin(), f.begin() + g.columns);
  const double offset = g.percent ? 0.0 : levelOffset;
  for (int i = 0; i < g.ribbons; ++i) {
    const Blocks::Values& v = set.values(i);
    double* first = g.values.data() + static_cast<size_t>(3 * i * g.columns);
    double* second = first + g.columns;
    for (int j = 0; j < g.columns; ++j) {
      const double raw = v[static_cast<size_t>(j)];
      const double value = isNoData(raw) ? Blocks::NO_DATA : std::min(raw + offset, Blocks::NO_DATA);
      first[j] = second[j] = value;
    }
    if (static_cast<size_t>(i) < set.startLabels.size())
      g.labels[static_cast<size_t>(i)] = set.startLabels[static_cast<size_t>(i)];
  }
  return g;
}

namespace RibbonAxes {

int columnAtOrBelow(const std::vector<double>& f, double bound) {
  const int n = static_cast<int>(f.size());
  for (int j = 0; j + 1 < n; ++j) {
    if (std::fabs(f[static_cast<size_t>(j)] - bound) <= 0.0001) return j;
    if (f[static_cast<size_t>(j)] > bound) return std::max(0, j - 1);
  }
  return std::max(0, n - 1);
}

int columnAtOrAbove(const std::vector<double>& f, double bound) {
  const int n = static_cast<int>(f.size());
  for (int j = 0; j < n; ++j)
    if (f[static_cast<size_t>(j)] >= bound) return j;
  return std::max(0, n - 1);
}

QVector<QString> frequencyLabels(const std::vector<double>& f, int lo, int hi, int labelSize) {
  const int n = static_cast<int>(f.size());
  QVector<QString> labels(n, QStringLiteral(" "));
  if (n == 0) return labels;
  lo = std::clamp(lo, 0, n - 1);
  hi = std::clamp(hi, lo, n - 1);
  const auto at = [&](int c) { return f[static_cast<size_t>(c)]; };
  const double gap = (labelSize + 7) * (at(hi) - at(lo)) * 0.001;
  int last = lo;
  for (int c = 0; c < n; ++c) {
    const bool end = c == lo || c == hi;
    const bool between = c > lo && c < hi && at(c) - at(last) > gap && at(hi) - at(c) > gap;
    if (end || between) labels[c] = QString::asprintf("%.2lf", at(c));
    if (between) last = c;
  }
  return labels;
}

Extremes extremes(const RibbonGrid& grid, int lo, int hi) {
  Extremes e;
  if (grid.columns == 0) return e;
  lo = std::clamp(lo, 0, grid.columns - 1);
  hi = std::clamp(hi, lo, grid.columns - 1);
  for (int i = 0; i < grid.ribbons; ++i)
    for (int j = lo; j <= hi; ++j) {
      const double v = grid.at(3 * i, j);
      if (isNoData(v)) continue;
      e.minimum = std::min(e.minimum, v);
      e.maximum = std::max(e.maximum, v);
    }
  return e;
}

std::vector<int> labelledRibbons(int ribbonCount, bool thinned) {
  std::vector<int> out;
  const bool thin = thinned && ribbonCount >= 25;
  for (int i = thin ? 1 : 0; i < ribbonCount; i += thin ? 3 : 1) out.push_back(i);
  return out;
}

QString versionText(int first, int last) {
  const QString a = QString::asprintf("%d", first);
  const QString b = QString::asprintf("%d", last);
  return a == b ? a + QStringLiteral(".X") : a + QStringLiteral(".X - ") + b + QStringLiteral(".X");
}

QVector<ValueLabel> valueLabels(int top, int bottom, int step, int span, int labelSize) {
  QVector<ValueLabel> out;
  if (step <= 0) return out;
  const double gap = (labelSize + 7) * span * 0.001;
  int last = top;
  for (int v = top; v > bottom; v -= step) {
    const bool shown = v == top || (std::abs(v - last) > gap && std::abs(last - bottom) > gap);
    out.append({v, shown ? QString::asprintf("%d", v) : QStringLiteral(" ")});
    if (shown) last = v;
  }
  return out;
}

QVector<double> valueLevels(int top, int bottom, int step) {
  QVector<double> out;
  if (step <= 0) return out;
  for (int v = bottom; v < top + step; v += step) {
    if (v == 0 && bottom == 0) continue;
    out.append(v);
  }
  return out;
}

}  // namespace RibbonAxes
