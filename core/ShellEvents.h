#pragma once

#include <QObject>

class QWidget;

// What the shell's plain code asks of the main window without knowing it:
// the owner of message boxes and the close request that ends the program
// after a failure. The main frame connects to it; tests observe it.
class ShellEvents : public QObject {
  Q_OBJECT
public:
  static ShellEvents& instance();

  // The window that owns message boxes (the main frame once it exists).
  QWidget* messageOwner() const { return m_owner; }
  void setMessageOwner(QWidget* owner) { m_owner = owner; }

  // Posts a close request to the main window; it arrives through the event
  // loop, after the message that caused it has been dismissed.
  void requestClose();

signals:
  void closeRequested();

private:
  ShellEvents() = default;
  QWidget* m_owner = nullptr;
};
