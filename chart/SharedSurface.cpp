#include "chart/SharedSurface.h"

#include "chart/ColourLegend.h"
#include "chart/FixedAxisFormatter.h"

#include <Q3DInputHandler>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QSurface3DSeries>
#include <QSurfaceFormat>
#include <QValue3DAxis>
#include <QWidget>

bool SharedSurface::available() {
  static const bool available = [] {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    QOpenGLContext context;
    return context.create();
  }();
  return available;
}

std::shared_ptr<SharedSurface> SharedSurface::acquire() {
  static std::weak_ptr<SharedSurface> current;
  if (!available()) return nullptr;
  std::shared_ptr<SharedSurface> shared = current.lock();
  if (!shared) {
    shared.reset(new SharedSurface);
    current = shared;
  }
  return shared;
}

SharedSurface::SharedSurface() {
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
  QLinearGradient gradient;
  gradient.setStops(ColourLegend::stops());
  m_series->setBaseGradient(gradient);
  m_series->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
  m_surface->addSeries(m_series);
  QValue3DAxis* axes[3] = {m_surface->axisZ(), m_surface->axisX(), m_surface->axisY()};
  for (size_t i = 0; i < 3; ++i) {
    m_formatters[i] = new FixedAxisFormatter();
    axes[i]->setFormatter(m_formatters[i]);
    axes[i]->setSegmentCount(1);
    axes[i]->setSubSegmentCount(1);
  }
  // The container owns the surface window from here on.
  m_container = QWidget::createWindowContainer(m_surface);
  m_container->setFocusPolicy(Qt::NoFocus);
}

SharedSurface::~SharedSurface() {
  delete m_container;
}
