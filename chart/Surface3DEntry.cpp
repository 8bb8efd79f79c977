#include "chart/DataVisSurface.h"

extern "C" SurfaceBackend* quillon_surface3d_create() {
  // Checked against the declaration the charts call through.
  [[maybe_unused]] constexpr SurfaceBackendCreate kSignature = &quillon_surface3d_create;
  return new DataVisSurface;
}
