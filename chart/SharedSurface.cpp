#include "chart/SharedSurface.h"

#include "chart/ColourLegend.h"
#include "chart/SurfaceBackend.h"
#include "core/LoadableModule.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QWidget>

// Defined where the process has the surface linked in (see
// quillon_surface3d); the program itself has not, and loads the module.
extern "C" SurfaceBackend* quillon_surface3d_create() __attribute__((weak));

namespace {

bool g_moduleMissing = false;

SurfaceBackendCreate load() {
  if (quillon_surface3d_create) return &quillon_surface3d_create;
  auto create = reinterpret_cast<SurfaceBackendCreate>(
      LoadableModule::resolve(SharedSurface::candidates(QCoreApplication::applicationDirPath()),
                              kSurfaceBackendCreateName, "the 3D surface"));
  g_moduleMissing = create == nullptr;
  return create;
}

}  // namespace

bool SharedSurface::available() {
  static const bool available = [] {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    QOpenGLContext context;
    return context.create();
  }();
  return available;
}

bool SharedSurface::moduleMissing() {
  return g_moduleMissing;
}

QStringList SharedSurface::candidates(const QString& programFolder) {
  return LoadableModule::candidates(QStringLiteral("quillon-surface3d.so"), programFolder,
                                    QStringLiteral(QUILLON_SURFACE3D_FROM_PROGRAM),
                                    QStringLiteral(QUILLON_BUILD_SURFACE3D));
}

std::shared_ptr<SharedSurface> SharedSurface::acquire() {
  static std::weak_ptr<SharedSurface> current;
  if (!available()) return nullptr;
  static const SurfaceBackendCreate create = load();
  if (!create) return nullptr;
  std::shared_ptr<SharedSurface> shared = current.lock();
  if (!shared) {
    shared.reset(new SharedSurface(create()));
    current = shared;
  }
  return shared;
}

SharedSurface::SharedSurface(SurfaceBackend* surface) : m_surface(surface) {
  m_surface->setGradient(ColourLegend::stops());
  // The container owns the surface window from here on.
  m_container = QWidget::createWindowContainer(m_surface->window());
  m_container->setFocusPolicy(Qt::NoFocus);
}

SharedSurface::~SharedSurface() {
  // The window, and the graph's parts with it, go first; the backend only
  // points at them.
  delete m_container;
}
