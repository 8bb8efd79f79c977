#pragma once

#include <QSurfaceDataArray>

#include <vector>

// The surface's data for a grid of rows x columns (row-major values):
// rows and columns at their cumulative spacings, holes (no sample) as NaN, which the surface leaves undrawn.
// With a column step above 1 only every step-th column is kept, and always the last.
struct SurfaceGridInput {
  int rows = 0;
  int columns = 0;
  const std::vector<double>* rowSpacing = nullptr;     // rows - 1 entries
  const std::vector<double>* columnSpacing = nullptr;  // columns - 1 entries
  const std::vector<double>* values = nullptr;
};

// The caller owns the array (the surface's proxy takes it over).
QSurfaceDataArray* buildSurfaceArray(const SurfaceGridInput& grid, int columnStep = 1);

// The column step that keeps a grid of `cells` at or under `limit` cells.
int columnStepFor(int cells, int limit);
