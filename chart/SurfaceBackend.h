#pragma once

#include "chart/SurfaceGrid.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector3D>
#include <QVector>

#include <functional>
#include <optional>

class QWindow;

// The OpenGL surface the 3D charts draw on, as they see it. Its one
// implementation draws through Qt Data Visualization, which brings Qt Quick,
// Qml and OpenGL with it; it lives in a module of its own
// (quillon-surface3d.so), so the program starts without them and loads them
// when it first shows a 3D report (see SharedSurface).
class SurfaceBackend {
public:
  struct Label {
    double value = 0.0;
    QString text;
  };
  struct AxisMarks {
    double minimum = 0.0;
    double maximum = 1.0;
    QString title;
    QVector<Label> labels;  // drawn exactly there, instead of evenly spaced ones
    QVector<double> grid;   // grid lines at these values
  };
  // As the surface's camera counts them: degrees, zoom in percent, the
  // target in the cube's -1..1.
  struct Camera {
    float xRotation = 0.0f;
    float yRotation = 0.0f;
    float zoomLevel = 100.0f;
    QVector3D target;
    bool ortho = false;
  };
  struct Theme {
    QColor window;
    QColor background;
    QColor labelText;
    QColor gridLine;
    bool gridEnabled = true;
  };
  // A cell as QPoint(row, column), 0-based; this one for none.
  static QPoint noCell() { return {-1, -1}; }

  virtual ~SurfaceBackend() = default;

  // The surface's own window; whoever embeds it owns it.
  virtual QWindow* window() const = 0;
  virtual void setGradient(const QGradientStops& stops) = 0;
  // Holes (values of NO_DATA or more) are left undrawn; with a column step
  // above 1 only every step-th column is drawn, and always the last.
  virtual void setGrid(const SurfaceGridInput& grid, int columnStep) = 0;
  // Axis 0 the rows (depth), 1 the columns (horizontal), 2 the value (vertical).
  virtual void setAxis(int axis, const AxisMarks& marks) = 0;
  virtual void setCamera(const Camera& camera) = 0;
  virtual Camera camera() const = 0;
  virtual void setTheme(const Theme& theme) = 0;
  // Whether dragging rotates and the wheel zooms.
  virtual void setInput(bool rotation, bool zoom) = 0;
  virtual QPoint selectedPoint() const = 0;
  virtual void setSelectedPoint(const QPoint& cell) = 0;
  // The cell under a point of the window, computed from the camera and the
  // grid (noCell() off the surface); none when they cannot tell.
  virtual std::optional<QPoint> computedPick(const QPoint& at) const = 0;
  // Asks the surface's own selection pass, which answers a frame later
  // through selectedPointChanged.
  virtual void querySelection(const QPoint& at) = 0;
  // The surface alone, `size` device pixels.
  virtual QImage render(const QSize& size) = 0;

  // Called when the user turns or zooms the camera, and when the selected
  // cell changes.
  std::function<void()> cameraChanged;
  std::function<void(const QPoint& cell)> selectedPointChanged;
};

// The module's one function: a new surface, which the caller owns.
using SurfaceBackendCreate = SurfaceBackend* (*)();
inline constexpr char kSurfaceBackendCreateName[] = "quillon_surface3d_create";
