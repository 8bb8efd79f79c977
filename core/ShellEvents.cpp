#include "core/ShellEvents.h"

#include <QMetaObject>

ShellEvents& ShellEvents::instance() {
  static ShellEvents events;
  return events;
}

void ShellEvents::requestClose() {
  QMetaObject::invokeMethod(this, &ShellEvents::closeRequested, Qt::QueuedConnection);
}
