#pragma once

#include "chart/SurfaceGrid.h"

#include <QSurfaceDataArray>

// The surface's data for a grid: holes (no sample) as NaN, which the surface
// leaves undrawn. With a column step above 1 only every step-th column is
// kept, and always the last. The caller owns the array (the surface's proxy
// takes it over).
QSurfaceDataArray* buildSurfaceArray(const SurfaceGridInput& grid, int columnStep = 1);
