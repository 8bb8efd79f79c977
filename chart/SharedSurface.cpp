#include "chart/SharedSurface.h"

#include "chart/ColourLegend.h"
#include "chart/SurfaceBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLContext>
#include <QWidget>
#include <cstdio>

// Defined where the process has the surface linked in (see
// quillon_surface3d); the program itself has not, and loads the module.
extern "C" SurfaceBackend* quillon_surface3d_create() __attribute__((weak));

namespace {

bool g_moduleMissing = false;

SurfaceBackendCreate load() {
  if (quillon_surface3d_create) return &quillon_surface3d_create;
  const QStringList places = SharedSurface::candidates(QCoreApplication::applicationDirPath());
  QStringList tried;
  for (const QString& place : places) {
    if (!QFileInfo(place).isFile()) continue;
    // Never unloaded: the surface and its Qt types live until the process ends.
    QLibrary module(place);
    if (auto create = reinterpret_cast<SurfaceBackendCreate>(module.resolve(kSurfaceBackendCreateName)))
      return create;
    tried << module.errorString();
  }
  if (tried.isEmpty()) tried << QStringLiteral("not found in %1").arg(places.join(QStringLiteral(", ")));
  std::fprintf(stderr, "quillon: cannot load the 3D surface: %s\n",
               tried.join(QStringLiteral("; ")).toLocal8Bit().constData());
  g_moduleMissing = true;
  return nullptr;
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
  const QString name = QStringLiteral("quillon-surface3d.so");
  QStringList places;
  if (!programFolder.isEmpty()) {
    const QDir program(programFolder);
    places << program.filePath(name);
    places << QDir::cleanPath(program.filePath(QStringLiteral(QUILLON_SURFACE3D_FROM_PROGRAM "/") + name));
  }
  places << QStringLiteral(QUILLON_BUILD_SURFACE3D);
  return places;
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
