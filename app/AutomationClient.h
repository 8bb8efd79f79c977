#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// Calls the automation methods of running instances. Launchers written as
// scripts use gdbus instead (scripts/quillon-call.sh); this is for the program
// itself and the tests.
//
// Calls go over a connection of their own, so even a call into this very
// process travels through the bus daemon like a launcher's would.
class AutomationClient {
public:
  // Bus names of the running instances, sorted.
  static QStringList runningInstances();

  // Calls `method` of the instance `busName` with `args`, whose types must match
  // the method's D-Bus signature (a level-unit code is a qint16, names a
  // QStringList). The instance answers before it acts on the call, so a true
  // result means the call was accepted, not that the launch succeeded.
  static bool call(const QString& busName, const QString& method, const QVariantList& args, QString* error);
};
