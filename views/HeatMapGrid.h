#pragma once

#include "views/HoverReadout.h"

#include <vector>

struct RibbonGrid;
struct RibbonSet;

// A ribbon report laid out for the heat map: one row per ribbon (row 0 the
// first, drawn at the bottom, so the newest is on top) and, across, evenly
// spaced cells as narrow as the closest two frequencies, each showing the
// frequency column nearest its centre. A frequency plan with gaps thus keeps
// its real spacing on the map. Holes are NaN.
struct HeatMapGrid {
  // More cells than this would not add anything a screen can show.
  static constexpr int kMaxCells = 4096;

  int rows = 0;
  int cells = 0;
  double firstFrequency = 0.0;
  double lastFrequency = 0.0;
  std::vector<int> columnOfCell;  // the frequency column each cell shows
  std::vector<double> values;     // rows x cells, row-major

  double at(int row, int cell) const { return values[static_cast<size_t>(row * cells + cell)]; }
  // The ribbon and frequency column under data coordinates (MHz, row); false
  // outside the grid.
  bool hit(double frequency, double row, int& ribbon, int& column) const;

  static HeatMapGrid build(const RibbonGrid& grid);
  static HeatMapGrid build(const RibbonSet& set, double levelOffset);

  // Frequency, the ribbon's label and the value with its unit ("%" on a
  // percentage report), or "Unavailable" for a hole.
  static QVector<ReadoutLine> readout(const RibbonGrid& grid, int ribbon, int column, const QString& unit);
};

// Whether a ribbon report is shown as a heat map, kept per report type in a
// settings group of its own.
namespace HeatMapChoice {
bool load(int graphType);
void save(int graphType, bool shown);
}  // namespace HeatMapChoice
