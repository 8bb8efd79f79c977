#include "chart/Chart3DAppearance.h"

Chart3DAppearance Chart3DAppearance::defaults() {
  constexpr std::uint32_t kGreen = 0x00FF00;
  Chart3DAppearance a;
  a.borderType = 0;
  a.interiorBackground = 0;
  a.interiorForeground = kGreen;
  for (Grid& g : a.grid) g = Grid{2, 1, kGreen};
  a.chartAreaBackground = 0;
  a.chartAreaForeground = kGreen;
  a.plotCubeBackground = 0;
  a.legendAnchor = 1;
  a.legendRange = 2;
  a.legendShown = 1;
  a.legendOrientation = 1;
  a.legendType = 2;
  a.legendTitle.clear();
  return a;
}
