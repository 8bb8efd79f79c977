#include "chart/SurfaceRayPick.h"

#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DSurface>
#include <QMatrix4x4>
#include <QSurface3DSeries>
#include <QValue3DAxis>

#include <algorithm>
#include <cmath>

namespace {

// The graph's fixed conventions: the camera orbits its target at this
// distance, and at 100 % zoom a 16:10 view just holds the cube.
constexpr float kCameraDistance = 6.0f;
constexpr float kDefaultRatio = 1.0f / 1.6f;

// Where `value` lands on an axis of the cube, as the graph places vertices.
float placed(float value, const SurfaceRayPick::Range& range, float scale) {
  return (value - range.minimum) / (range.maximum - range.minimum) * (2.0f * scale) - scale;
}

struct Vec {
  double x, y, z;
};
Vec operator-(const Vec& a, const Vec& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec& a, const Vec& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec vec(const QVector3D& v) {
  return {v.x(), v.y(), v.z()};
}

}  // namespace

SurfaceRayPick::SurfaceRayPick(const View& view, const Grid& grid) : m_view(view) {
  const int columns = static_cast<int>(grid.x.size());
  const int rows = static_cast<int>(grid.z.size());
  if (columns < 2 || rows < 2 || grid.y.size() != static_cast<size_t>(rows) * static_cast<size_t>(columns))
    return;
  if (!(grid.x.front() < grid.x.back()) || !(grid.z.front() < grid.z.back())) return;
  // Only the rows and columns inside the axis ranges are drawn, and the
  // selection numbers them from the first of those.
  const auto inside = [](const std::vector<float>& v, const Range& r, int& first) {
    first = static_cast<int>(std::lower_bound(v.begin(), v.end(), r.minimum) - v.begin());
    const int last = static_cast<int>(std::upper_bound(v.begin(), v.end(), r.maximum) - v.begin()) - 1;
    return std::max(0, last - first + 1);
  };
  m_columns = inside(grid.x, grid.axisX, m_firstColumn);
  m_rows = inside(grid.z, grid.axisZ, m_firstRow);
  if (!canAnswer()) return;

  // The cube's half sides.
  float width = grid.axisX.maximum - grid.axisX.minimum;
  float depth = grid.axisZ.maximum - grid.axisZ.minimum;
  if (view.horizontalAspectRatio != 0.0f) {
    width = view.horizontalAspectRatio;
    depth = 1.0f;
  }
  const float horizontal = view.aspectRatio > 2.0f ? 2.0f : view.aspectRatio;
  m_scaleY = view.aspectRatio > 2.0f ? 2.0f / view.aspectRatio : 1.0f;
  const float larger = std::max(width, depth);
  m_scaleX = horizontal * width / larger;
  m_scaleZ = horizontal * depth / larger;

  m_vertices.reserve(static_cast<size_t>(m_rows) * static_cast<size_t>(m_columns));
  for (int i = 0; i < m_rows; ++i) {
    // Rows run from the front of the cube to the back: the z axis is reversed.
    const float z = -placed(grid.z[static_cast<size_t>(m_firstRow + i)], grid.axisZ, m_scaleZ);
    const float* row = grid.y.data() + static_cast<size_t>(m_firstRow + i) * static_cast<size_t>(columns);
    for (int j = 0; j < m_columns; ++j) {
      const int c = m_firstColumn + j;
      m_vertices.emplace_back(placed(grid.x[static_cast<size_t>(c)], grid.axisX, m_scaleX),
                              placed(row[c], grid.axisY, m_scaleY), z);
    }
  }
}

SurfaceRayPick SurfaceRayPick::fromGraph(const Q3DSurface& graph, const QSurface3DSeries& series) {
  View view;
  const Q3DScene* scene = graph.scene();
  const Q3DCamera* camera = scene->activeCamera();
  view.xRotation = camera->xRotation();
  view.yRotation = camera->yRotation();
  view.zoomLevel = camera->zoomLevel();
  view.target = camera->target();
  view.ortho = graph.isOrthoProjection();
  view.viewport = scene->viewport().size();
  view.devicePixelRatio = scene->devicePixelRatio();
  view.aspectRatio = static_cast<float>(graph.aspectRatio());
  view.horizontalAspectRatio = static_cast<float>(graph.horizontalAspectRatio());
  Grid grid;
  const auto range = [](const QValue3DAxis* axis) { return Range{axis->min(), axis->max()}; };
  grid.axisX = range(graph.axisX());
  grid.axisY = range(graph.axisY());
  grid.axisZ = range(graph.axisZ());
  const QSurfaceDataArray* array = series.dataProxy()->array();
  if (array && !array->isEmpty() && !array->at(0)->isEmpty()) {
    const QSurfaceDataRow& first = *array->at(0);
    const auto columns = first.size();
    grid.x.reserve(static_cast<size_t>(columns));
    grid.z.reserve(static_cast<size_t>(array->size()));
    grid.y.reserve(static_cast<size_t>(columns * array->size()));
    for (const QSurfaceDataItem& item : first) grid.x.push_back(item.x());
    for (const QSurfaceDataRow* row : *array) {
      if (row->size() != columns) return SurfaceRayPick(view, Grid{});
      grid.z.push_back(row->at(0).z());
      for (const QSurfaceDataItem& item : *row) grid.y.push_back(item.y());
    }
  }
  return SurfaceRayPick(view, grid);
}

std::optional<QPoint> SurfaceRayPick::cellAt(const QPoint& logical) const {
  // The graph's own pixels: device pixels, truncated as it truncates them.
  const float ratio = m_view.devicePixelRatio;
  const int width = static_cast<int>(static_cast<float>(m_view.viewport.width()) * ratio);
  const int height = static_cast<int>(static_cast<float>(m_view.viewport.height()) * ratio);
  if (!canAnswer() || width <= 0 || height <= 0) return std::nullopt;
  const int px = static_cast<int>(static_cast<float>(logical.x()) * ratio);
  // The selection reads the pixel row `height - y` counted from the bottom.
  const int glRow = height - static_cast<int>(static_cast<float>(logical.y()) * ratio);
  if (px < 0 || px >= width || glRow < 0 || glRow >= height) return std::nullopt;

  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  QMatrix4x4 projection;
  if (m_view.ortho)
    projection.ortho(-aspect * 2.0f, aspect * 2.0f, -2.0f, 2.0f, 0.0f, 100.0f);
  else
    projection.perspective(45.0f, aspect, 0.1f, 100.0f);
  const float shorter = static_cast<float>(std::min(width, height));
  const float fit = std::min(
      kDefaultRatio * ((static_cast<float>(width) / shorter) / (static_cast<float>(height) / shorter)), 1.0f);
  // The camera orbits the target, which is given in the cube's half sides.
  const QVector3D target(m_view.target.x() * m_scaleX, m_view.target.y() * m_scaleY,
                         m_view.target.z() * -m_scaleZ);
  const float elevation = qDegreesToRadians(m_view.yRotation);
  QMatrix4x4 camera;
  camera.lookAt(QVector3D(0.0f, 0.0f, kCameraDistance) + target, target, QVector3D(0.0f, 1.0f, 0.0f));
  camera.translate(target);
  camera.rotate(m_view.xRotation, 0.0f, std::cos(elevation), std::sin(elevation));
  camera.rotate(m_view.yRotation, 1.0f, 0.0f, 0.0f);
  camera.scale(m_view.zoomLevel * fit / 100.0f);
  camera.translate(-target);
  bool invertible = false;
  const QMatrix4x4 unproject = (projection * camera).inverted(&invertible);
  if (!invertible) return std::nullopt;

  // The pixel's centre, from the near plane to the far one: a hit anywhere
  // on this segment is inside the depth range the graph draws.
  const float nx = (static_cast<float>(px) + 0.5f) / static_cast<float>(width) * 2.0f - 1.0f;
  const float ny = (static_cast<float>(glRow) + 0.5f) / static_cast<float>(height) * 2.0f - 1.0f;
  const QVector4D n = unproject.map(QVector4D(nx, ny, -1.0f, 1.0f));
  const QVector4D f = unproject.map(QVector4D(nx, ny, 1.0f, 1.0f));
  const Vec origin{n.x() / n.w(), n.y() / n.w(), n.z() / n.w()};
  const Vec ray = Vec{f.x() / f.w(), f.y() / f.w(), f.z() / f.w()} - origin;

  // Seen along the ray every vertex becomes a point of a plane across it,
  // with the ray through its origin: a triangle is hit when its three
  // points surround the origin, and the hit's weights on the corners are
  // the same in the plane as on the surface.
  const double length = std::sqrt(dot(ray, ray));
  const Vec along{ray.x / length, ray.y / length, ray.z / length};
  const Vec other = std::abs(along.x) < 0.9 ? Vec{1.0, 0.0, 0.0} : Vec{0.0, 1.0, 0.0};
  const Vec across1 = cross(along, other);
  const Vec across2 = cross(along, across1);
  struct Flat {
    double x, y;
  };
  std::vector<Flat> flat(m_vertices.size());
  for (size_t k = 0; k < m_vertices.size(); ++k) {
    const Vec d = vec(m_vertices[k]) - origin;
    flat[k] = {dot(d, across1), dot(d, across2)};
  }

  double nearest = 2.0;
  double hitColumn = 0.0, hitRow = 0.0;  // in grid steps from the drawn part's first corner
  // Each triangle as its three corners (row, column offsets in its quad);
  // the graph splits a quad along the diagonal from (0, 1) to (1, 0).
  static constexpr int kTriangles[2][3][2] = {{{0, 1}, {1, 0}, {0, 0}}, {{1, 1}, {1, 0}, {0, 1}}};
  for (int i = 0; i + 1 < m_rows; ++i) {
    const Flat* lower = flat.data() + static_cast<size_t>(i) * static_cast<size_t>(m_columns);
    const Flat* upper = lower + m_columns;
    for (int j = 0; j + 1 < m_columns; ++j) {
      // Most quads lie wholly to one side of the ray.
      const Flat* q[4] = {lower + j, lower + j + 1, upper + j, upper + j + 1};
      if ((q[0]->x > 0 && q[1]->x > 0 && q[2]->x > 0 && q[3]->x > 0) ||
          (q[0]->x < 0 && q[1]->x < 0 && q[2]->x < 0 && q[3]->x < 0) ||
          (q[0]->y > 0 && q[1]->y > 0 && q[2]->y > 0 && q[3]->y > 0) ||
          (q[0]->y < 0 && q[1]->y < 0 && q[2]->y < 0 && q[3]->y < 0))
        continue;
      for (const auto& tri : kTriangles) {
        size_t at[3];
        for (int k = 0; k < 3; ++k) at[k] = static_cast<size_t>((i + tri[k][0]) * m_columns + j + tri[k][1]);
        // A corner without a value is NaN: the triangle is not drawn.
        const QVector3D &pa = m_vertices[at[0]], &pb = m_vertices[at[1]], &pc = m_vertices[at[2]];
        if (std::isnan(pa.y()) || std::isnan(pb.y()) || std::isnan(pc.y())) continue;
        const Flat &a = flat[at[0]], &b = flat[at[1]], &c = flat[at[2]];
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::abs(area) < 1e-15) continue;
        const double u = ((-a.x) * (c.y - a.y) - (-a.y) * (c.x - a.x)) / area;  // weight of b
        const double v = ((b.x - a.x) * (-a.y) - (b.y - a.y) * (-a.x)) / area;  // weight of c
        if (!(u >= 0.0 && v >= 0.0 && u + v <= 1.0)) continue;
        const double w = 1.0 - u - v;
        const Vec hit{w * pa.x() + u * pb.x() + v * pc.x(), w * pa.y() + u * pb.y() + v * pc.y(),
                      w * pa.z() + u * pb.z() + v * pc.z()};
        const double t = dot(hit - origin, ray) / (length * length);
        if (t < 0.0 || t > 1.0 || t >= nearest) continue;
        nearest = t;
        hitRow = i + w * tri[0][0] + u * tri[1][0] + v * tri[2][0];
        hitColumn = j + w * tri[0][1] + u * tri[1][1] + v * tri[2][1];
      }
    }
  }
  if (nearest > 1.0) return std::nullopt;
  // The selection texture gives each quad 2 x 2 texels, one per corner: the
  // nearest corner in grid steps wins, halves rounding up.
  const auto corner = [](double steps, int count) {
    const int texel = std::clamp(static_cast<int>(std::floor(steps * 2.0)), 0, 2 * (count - 1) - 1);
    return texel / 2 + texel % 2;
  };
  return QPoint(m_firstRow + corner(hitRow, m_rows), m_firstColumn + corner(hitColumn, m_columns));
}
