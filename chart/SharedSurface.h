#pragma once

#include <array>
#include <memory>

class FixedAxisFormatter;
class Q3DSurface;
class QObject;
class QSurface3DSeries;
class QWidget;

// The one OpenGL surface every 3D chart of the program draws on. Each
// surface carries an OpenGL context and the software renderer's state, tens
// of megabytes under Mesa, while only one report is on screen at a time; so
// the chart that is shown holds it and pushes its own grid, look and view
// into it, and the others keep their state in plain members until they are
// shown again. It lives while any chart holds a reference.
class SharedSurface {
public:
  // The surface, made on first use; null where the display has no OpenGL.
  static std::shared_ptr<SharedSurface> acquire();
  // Whether this display can give the surface a GL context at all; the
  // offscreen test platform cannot.
  static bool available();
  ~SharedSurface();
  SharedSurface(const SharedSurface&) = delete;
  SharedSurface& operator=(const SharedSurface&) = delete;

  Q3DSurface* surface() const { return m_surface; }
  QSurface3DSeries* series() const { return m_series; }
  // The axis formatters in the charts' axis order: rows, columns, value.
  FixedAxisFormatter* formatter(int axisIndex) const {
    return m_formatters.at(static_cast<size_t>(axisIndex));
  }
  // The widget that embeds the surface; it sits in the holder's layout.
  QWidget* container() const { return m_container; }

  // The chart that draws on it now, or null.
  QObject* holder() const { return m_holder; }
  void setHolder(QObject* holder) { m_holder = holder; }

private:
  SharedSurface();

  Q3DSurface* m_surface = nullptr;
  QSurface3DSeries* m_series = nullptr;
  std::array<FixedAxisFormatter*, 3> m_formatters{};
  QWidget* m_container = nullptr;
  QObject* m_holder = nullptr;
};
