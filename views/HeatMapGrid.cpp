#include "views/HeatMapGrid.h"

#include "core/SettingsStore.h"
#include "query/ComparisonMatch.h"
#include "resources/Strings.h"
#include "views/MarkerSet.h"
#include "views/RibbonGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

HeatMapGrid HeatMapGrid::build(const RibbonSet& set, double levelOffset) {
  return build(RibbonGrid::build(set, levelOffset));
}

HeatMapGrid HeatMapGrid::build(const RibbonGrid& grid) {
  HeatMapGrid h;
  const std::vector<double>& f = grid.frequencies;
  const int n = grid.columns;
  if (grid.ribbons == 0 || n == 0) return h;
  h.rows = grid.ribbons;
  h.firstFrequency = f.front();
  h.lastFrequency = f[static_cast<size_t>(n - 1)];
  const double span = h.lastFrequency - h.firstFrequency;
  double gap = std::numeric_limits<double>::infinity();
  for (int k = 1; k < n; ++k) {
    const double d = f[static_cast<size_t>(k)] - f[static_cast<size_t>(k - 1)];
    if (d > 0.0) gap = std::min(gap, d);
  }
  if (!std::isfinite(gap) || span <= 0.0) {
    h.cells = 1;
  } else {
    gap = std::max(gap, span / (kMaxCells - 1));
    h.cells = std::min(kMaxCells, static_cast<int>(std::llround(span / gap)) + 1);
  }
  const double width = h.cells > 1 ? span / (h.cells - 1) : 0.0;
  std::vector<double> centres(static_cast<size_t>(h.cells));
  for (int k = 0; k < h.cells; ++k) centres[static_cast<size_t>(k)] = h.firstFrequency + k * width;
  h.columnOfCell = ComparisonMatch::nearestColumns(f.data(), n, centres.data(), h.cells);
  h.values.resize(static_cast<size_t>(h.rows * h.cells));
  for (int r = 0; r < h.rows; ++r)
    for (int k = 0; k < h.cells; ++k) {
      const double v = grid.at(3 * r, h.columnOfCell[static_cast<size_t>(k)]);
      h.values[static_cast<size_t>(r * h.cells + k)] = isNoData(v) ? std::nan("") : v;
    }
  return h;
}

bool HeatMapGrid::hit(double frequency, double row, int& ribbon, int& column) const {
  if (rows == 0 || cells == 0) return false;
  const double width = cells > 1 ? (lastFrequency - firstFrequency) / (cells - 1) : 1.0;
  const long cell = std::lround((frequency - firstFrequency) / width);
  const long r = std::lround(row);
  if (cell < 0 || cell >= cells || r < 0 || r >= rows) return false;
  ribbon = static_cast<int>(r);
  column = columnOfCell[static_cast<size_t>(cell)];
  return true;
}

QVector<ReadoutLine> HeatMapGrid::readout(const RibbonGrid& grid, int ribbon, int column,
                                          const QString& unit) {
  const double value = grid.at(3 * ribbon, column);
  // Traces 0 and 3 stand for a level and a percentage in the marker formats.
  return {{MarkerSet::xText(grid.frequencies[static_cast<size_t>(column)], false), QColor()},
          {grid.labels[static_cast<size_t>(ribbon)], QColor()},
          {MarkerSet::valueText(grid.percent ? 3 : 0, value, unit), QColor()}};
}

namespace HeatMapChoice {

namespace {
QString text(int id) {
  return Strings::LoadString(id);
}
}  // namespace

bool load(int graphType) {
  SettingsStore store;
  const auto v = store.sectionKey(text(Strings::IDS_HEAT_MAP_SECTION))
                     .readDword(text(Strings::IDS_HEAT_MAP_KEY).arg(graphType));
  return v && *v != 0;
}

void save(int graphType, bool shown) {
  SettingsStore store;
  RegistryKey key = store.sectionKey(text(Strings::IDS_HEAT_MAP_SECTION));
  key.writeDword(text(Strings::IDS_HEAT_MAP_KEY).arg(graphType), shown ? 1 : 0);
  store.sync();
}

}  // namespace HeatMapChoice
