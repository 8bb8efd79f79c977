#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

// The wait cursor for the length of a scope, restored on every path. Without
// a GUI application (command-line tools) there is no cursor to change.
class WaitCursor {
public:
  WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~WaitCursor() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

private:
  bool m_shown;
};
