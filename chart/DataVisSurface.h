#pragma once

#include "chart/SurfaceBackend.h"

#include <array>

class FixedAxisFormatter;
class Q3DSurface;
class QSurface3DSeries;

// The surface drawn through Qt Data Visualization: one graph with one
// series, fixed axis marks, no multisampling and no shadows.
class DataVisSurface : public SurfaceBackend {
public:
  DataVisSurface();
  DataVisSurface(const DataVisSurface&) = delete;
  DataVisSurface& operator=(const DataVisSurface&) = delete;

  QWindow* window() const override;
  void setGradient(const QGradientStops& stops) override;
  void setGrid(const SurfaceGridInput& grid, int columnStep) override;
  void setAxis(int axis, const AxisMarks& marks) override;
  void setCamera(const Camera& camera) override;
  Camera camera() const override;
  void setTheme(const Theme& theme) override;
  void setInput(bool rotation, bool zoom) override;
  QPoint selectedPoint() const override;
  void setSelectedPoint(const QPoint& cell) override;
  std::optional<QPoint> computedPick(const QPoint& at) const override;
  void querySelection(const QPoint& at) override;
  QImage render(const QSize& size) override;

private:
  // Owned by the window's embedder, which the series, theme and formatters
  // go down with.
  Q3DSurface* m_surface = nullptr;
  QSurface3DSeries* m_series = nullptr;
  std::array<FixedAxisFormatter*, 3> m_formatters{};
};
