#pragma once

#include <QPoint>
#include <QSize>
#include <QVector3D>

#include <optional>
#include <vector>

class Q3DSurface;
class QSurface3DSeries;

// The cell of a surface graph under a pixel, found from the camera and the
// grid alone: the same cell the graph's own selection reports, without the
// extra render pass that selection costs. The graph's conventions (cube
// scaling, camera orbit, projection, pixel rows read back from the bottom)
// are reproduced here; each triangle's pick is the grid corner nearest the
// hit in the grid's own index space, as the selection texture divides it.
class SurfaceRayPick {
public:
  // What the graph and its camera were told.
  struct View {
    float xRotation = 0.0f;  // degrees, as the camera reports it
    float yRotation = 0.0f;
    float zoomLevel = 100.0f;  // percent
    QVector3D target;          // -1..1 on each axis of the cube
    bool ortho = false;
    QSize viewport;  // in logical pixels
    float devicePixelRatio = 1.0f;
    float aspectRatio = 2.0f;            // cube height to width
    float horizontalAspectRatio = 0.0f;  // 0: from the axis ranges
  };
  struct Range {
    float minimum = 0.0f;
    float maximum = 1.0f;
  };
  // A rectilinear grid as the series holds it: x per column and z per row,
  // both ascending, y row-major with NaN where nothing is drawn.
  struct Grid {
    std::vector<float> x;
    std::vector<float> z;
    std::vector<float> y;
    Range axisX, axisY, axisZ;
  };

  SurfaceRayPick(const View& view, const Grid& grid);
  // Reads the view and the grid from a shown graph and one of its series.
  static SurfaceRayPick fromGraph(const Q3DSurface& graph, const QSurface3DSeries& series);

  // False when the graph would draw nothing of the grid (under 2 x 2 rows
  // and columns inside the axis ranges, or not ascending).
  bool canAnswer() const { return m_columns >= 2 && m_rows >= 2; }
  // The cell under a point of the graph's window in logical pixels, as
  // QPoint(row, column) of the series' array, 0-based; none off the surface.
  std::optional<QPoint> cellAt(const QPoint& logical) const;

private:
  View m_view;
  int m_firstColumn = 0;  // the drawn part of the grid
  int m_firstRow = 0;
  int m_columns = 0;
  int m_rows = 0;
  std::vector<QVector3D> m_vertices;  // drawn part, in the cube's coordinates
  float m_scaleX = 0.0f, m_scaleY = 0.0f, m_scaleZ = 0.0f;
};
