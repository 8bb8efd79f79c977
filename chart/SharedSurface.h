#pragma once

#include <QStringList>

#include <memory>

class QObject;
class QWidget;
class SurfaceBackend;

// The one OpenGL surface every 3D chart of the program draws on. Each
// surface carries an OpenGL context and the software renderer's state, tens
// of megabytes under Mesa, while only one report is on screen at a time; so
// the chart that is shown holds it and pushes its own grid, look and view
// into it, and the others keep their state in plain members until they are
// shown again. It lives while any chart holds a reference.
//
// The surface comes from the module quillon-surface3d.so, loaded when the
// first one is made, unless the process has it linked in.
class SharedSurface {
public:
  // The surface, made on first use; null where the display has no OpenGL or
  // the module cannot be loaded (the reason goes to standard error).
  static std::shared_ptr<SharedSurface> acquire();
  // Whether this display can give the surface a GL context at all; the
  // offscreen test platform cannot.
  static bool available();
  // Whether loading the module was tried and failed.
  static bool moduleMissing();
  // Where the module is looked for, in order: beside the program, in the
  // installed folder relative to it, then the build tree's copy.
  static QStringList candidates(const QString& programFolder);
  ~SharedSurface();
  SharedSurface(const SharedSurface&) = delete;
  SharedSurface& operator=(const SharedSurface&) = delete;

  SurfaceBackend& surface() const { return *m_surface; }
  // The widget that embeds the surface; it sits in the holder's layout.
  QWidget* container() const { return m_container; }

  // The chart that draws on it now, or null.
  QObject* holder() const { return m_holder; }
  void setHolder(QObject* holder) { m_holder = holder; }

private:
  explicit SharedSurface(SurfaceBackend* surface);

  std::unique_ptr<SurfaceBackend> m_surface;
  QWidget* m_container = nullptr;
  QObject* m_holder = nullptr;
};
