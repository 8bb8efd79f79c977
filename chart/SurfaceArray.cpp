#include "chart/SurfaceArray.h"

#include "query/NoData.h"

#include <limits>

QSurfaceDataArray* buildSurfaceArray(const SurfaceGridInput& g, int columnStep) {
  auto* array = new QSurfaceDataArray;
  if (g.rows <= 0 || g.columns <= 0 || !g.values || !g.rowSpacing || !g.columnSpacing) return array;
  const int step = std::max(1, columnStep);
  std::vector<float> columnPosition(static_cast<size_t>(g.columns));
  double p = 0.0;
  for (int c = 0; c < g.columns; ++c) {
    if (c > 0) p += (*g.columnSpacing)[static_cast<size_t>(c - 1)];
    columnPosition[static_cast<size_t>(c)] = static_cast<float>(p);
  }
  std::vector<int> kept;
  for (int c = 0; c < g.columns; c += step) kept.push_back(c);
  if (kept.back() != g.columns - 1) kept.push_back(g.columns - 1);
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  array->reserve(g.rows);
  double rowPosition = 0.0;
  for (int r = 0; r < g.rows; ++r) {
    if (r > 0) rowPosition += (*g.rowSpacing)[static_cast<size_t>(r - 1)];
    auto* row = new QSurfaceDataRow(static_cast<qsizetype>(kept.size()));
    const double* values = g.values->data() + static_cast<size_t>(r) * static_cast<size_t>(g.columns);
    QSurfaceDataItem* item = row->data();
    for (int c : kept) {
      const double v = values[c];
      (item++)->setPosition(QVector3D(columnPosition[static_cast<size_t>(c)],
                                      isNoData(v) ? kNaN : static_cast<float>(v),
                                      static_cast<float>(rowPosition)));
    }
    array->append(row);
  }
  return array;
}
