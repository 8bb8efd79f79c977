#include "chart/DataVisSurface.h"

#include "chart/FixedAxisFormatter.h"
#include "chart/SurfaceArray.h"
#include "chart/SurfaceRayPick.h"

#include <Q3DCamera>
#include <Q3DInputHandler>
#include <Q3DScene>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QSurface3DSeries>
#include <QSurfaceFormat>
#include <QValue3DAxis>

DataVisSurface::DataVisSurface() {
  // No multisampling: with a software renderer it costs about as much as
  // drawing the surface again, and rotation is what the user feels.
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setDepthBufferSize(24);
  format.setSamples(0);
  m_surface = new Q3DSurface(&format);
  m_surface->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
  // A click picks one cell, which the surface highlights and the view reads out.
  m_surface->setSelectionMode(QAbstract3DGraph::SelectionItem);
  m_surface->setOptimizationHints(QAbstract3DGraph::OptimizationDefault);
  // A plot cube: time and frequency each span their side of it, however
  // their ranges compare. Left automatic, hours and MHz shared one unit and
  // a single day drew as a sliver.
  m_surface->setHorizontalAspectRatio(1.0);
  // The main window keeps the keyboard focus when the chart is clicked, so
  // its menus and accelerators keep working.
  m_surface->setFlag(Qt::WindowDoesNotAcceptFocus);
  // The charts compute a click's cell themselves; the input handler's own
  // selection would draw the scene once more to find it.
  if (auto* input = qobject_cast<Q3DInputHandler*>(m_surface->activeInputHandler()))
    input->setSelectionEnabled(false);
  auto* theme = new Q3DTheme(Q3DTheme::ThemeQt);
  theme->setLabelBackgroundEnabled(false);
  theme->setLabelBorderEnabled(false);
  theme->setBackgroundEnabled(true);
  theme->setGridEnabled(true);
  m_surface->addTheme(theme);
  m_surface->setActiveTheme(theme);
  m_series = new QSurface3DSeries();
  m_series->setDrawMode(QSurface3DSeries::DrawSurface);
  m_series->setFlatShadingEnabled(false);
  // The view reads the picked cell out in the report's own terms; the
  // surface's label would repeat it in raw axis values.
  m_series->setItemLabelVisible(false);
  m_series->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
  m_surface->addSeries(m_series);
  QValue3DAxis* axes[3] = {m_surface->axisZ(), m_surface->axisX(), m_surface->axisY()};
  for (size_t i = 0; i < 3; ++i) {
    m_formatters[i] = new FixedAxisFormatter();
    axes[i]->setFormatter(m_formatters[i]);
    axes[i]->setSegmentCount(1);
    axes[i]->setSubSegmentCount(1);
  }
  QObject::connect(m_series, &QSurface3DSeries::selectedPointChanged, m_surface, [this](const QPoint& cell) {
    if (selectedPointChanged) selectedPointChanged(cell);
  });
  const auto turned = [this] {
    if (cameraChanged) cameraChanged();
  };
  Q3DCamera* camera = m_surface->scene()->activeCamera();
  QObject::connect(camera, &Q3DCamera::xRotationChanged, m_surface, turned);
  QObject::connect(camera, &Q3DCamera::yRotationChanged, m_surface, turned);
  QObject::connect(camera, &Q3DCamera::zoomLevelChanged, m_surface, turned);
}

QWindow* DataVisSurface::window() const {
  return m_surface;
}

void DataVisSurface::setGradient(const QGradientStops& stops) {
  QLinearGradient gradient;
  gradient.setStops(stops);
  m_series->setBaseGradient(gradient);
}

void DataVisSurface::setGrid(const SurfaceGridInput& grid, int columnStep) {
  m_series->dataProxy()->resetArray(buildSurfaceArray(grid, columnStep));
}

void DataVisSurface::setAxis(int axis, const AxisMarks& marks) {
  if (axis < 0 || axis > 2) return;
  QValue3DAxis* axes[3] = {m_surface->axisZ(), m_surface->axisX(), m_surface->axisY()};
  QValue3DAxis* target = axes[axis];
  target->setRange(static_cast<float>(marks.minimum), static_cast<float>(marks.maximum));
  target->setTitle(marks.title);
  target->setTitleVisible(!marks.title.isEmpty());
  m_formatters[static_cast<size_t>(axis)]->setMarks(marks.labels, marks.grid);
}

void DataVisSurface::setCamera(const Camera& view) {
  Q3DCamera* camera = m_surface->scene()->activeCamera();
  camera->setCameraPosition(view.xRotation, view.yRotation, view.zoomLevel);
  camera->setTarget(view.target);
  m_surface->setOrthoProjection(view.ortho);
}

SurfaceBackend::Camera DataVisSurface::camera() const {
  const Q3DCamera* camera = m_surface->scene()->activeCamera();
  return {camera->xRotation(), camera->yRotation(), camera->zoomLevel(), camera->target(),
          m_surface->isOrthoProjection()};
}

void DataVisSurface::setTheme(const Theme& look) {
  Q3DTheme* theme = m_surface->activeTheme();
  theme->setWindowColor(look.window);
  theme->setBackgroundColor(look.background);
  theme->setLabelTextColor(look.labelText);
  if (look.gridEnabled) theme->setGridLineColor(look.gridLine);
  theme->setGridEnabled(look.gridEnabled);
}

void DataVisSurface::setInput(bool rotation, bool zoom) {
  if (auto* input = qobject_cast<Q3DInputHandler*>(m_surface->activeInputHandler())) {
    input->setRotationEnabled(rotation);
    input->setZoomEnabled(zoom);
  }
}

QPoint DataVisSurface::selectedPoint() const {
  return m_series->selectedPoint();
}

void DataVisSurface::setSelectedPoint(const QPoint& cell) {
  m_series->setSelectedPoint(cell);
}

std::optional<QPoint> DataVisSurface::computedPick(const QPoint& at) const {
  const SurfaceRayPick ray = SurfaceRayPick::fromGraph(*m_surface, *m_series);
  if (!ray.canAnswer()) return std::nullopt;
  return ray.cellAt(at).value_or(noCell());
}

void DataVisSurface::querySelection(const QPoint& at) {
  m_surface->scene()->setSelectionQueryPosition(at);
}

QImage DataVisSurface::render(const QSize& size) {
  // The surface sizes its offscreen viewport by the scene's pixel ratio on
  // top of the size it is asked for: under a scale factor the picture came
  // out magnified by it and cut off. It renders at ratio 1 in device pixels.
  Q3DScene* scene = m_surface->scene();
  const float sceneRatio = scene->devicePixelRatio();
  scene->setDevicePixelRatio(1.0f);
  const QImage picture = m_surface->renderToImage(0, size);
  scene->setDevicePixelRatio(sceneRatio);
  return picture;
}
