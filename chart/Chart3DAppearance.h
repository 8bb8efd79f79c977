#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The look of a 3D chart as its appearance record stores it. Colours are
// 0x00BBGGRR values; codes (border type, grid pattern, legend anchor...)
// are kept as given even where the surface has no way to show them, so
// what was stored is what is answered back.
struct Chart3DAppearance {
  struct Grid {
    int pattern = 0;  // 0 no grid lines; any other pattern draws them
    int width = 0;
    std::uint32_t colour = 0;
    bool operator==(const Grid&) const = default;
  };

  int borderType = 0;
  int borderWidth = 0;
  std::uint32_t interiorBackground = 0;  // around the plot cube
  std::uint32_t interiorForeground = 0;  // axis labels and titles
  std::array<Grid, 3> grid{};            // axes 1 (rows), 2 (frequency), 3 (value)
  std::uint32_t chartAreaBackground = 0; // header and legend band
  std::uint32_t chartAreaForeground = 0; // header and legend texts
  std::uint32_t plotCubeBackground = 0;
  int legendAnchor = 0;       // 0 top, 1 right, 2 bottom, 3 left
  int legendOrientation = 0;  // 0 horizontal, 1 vertical
  int legendType = 0;
  int legendRange = 0;
  int legendShown = 1;
  QString legendTitle;

  bool operator==(const Chart3DAppearance&) const = default;

  // The built-in look: black with green lines and texts, legend on the right.
  static Chart3DAppearance defaults();
};
