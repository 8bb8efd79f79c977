#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QList>

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

// The windows' own cursors for the length of a scope that waits for the user
// (a message box, the progress box with its Cancel) while work holds a wait
// cursor; the wait cursors in force come back afterwards.
class NormalCursor {
public:
  NormalCursor() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    while (const QCursor* c = QGuiApplication::overrideCursor()) {
      m_held.prepend(*c);
      QGuiApplication::restoreOverrideCursor();
    }
  }
  ~NormalCursor() {
    for (const QCursor& c : std::as_const(m_held)) QGuiApplication::setOverrideCursor(c);
  }
  NormalCursor(const NormalCursor&) = delete;
  NormalCursor& operator=(const NormalCursor&) = delete;

private:
  QList<QCursor> m_held;  // bottom of the stack first
};
