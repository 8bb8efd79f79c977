#pragma once

#include <vector>

// A grid of rows x columns (row-major values) as the surface takes it: rows
// and columns at their cumulative spacings.
struct SurfaceGridInput {
  int rows = 0;
  int columns = 0;
  const std::vector<double>* rowSpacing = nullptr;     // rows - 1 entries
  const std::vector<double>* columnSpacing = nullptr;  // columns - 1 entries
  const std::vector<double>* values = nullptr;
};

// The column step that keeps a grid of `cells` at or under `limit` cells.
int columnStepFor(int cells, int limit);
