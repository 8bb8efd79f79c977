#include "chart/SurfaceGrid.h"

int columnStepFor(int cells, int limit) {
  if (limit <= 0 || cells <= limit) return 1;
  return (cells + limit - 1) / limit;
}
