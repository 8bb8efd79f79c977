#include "app/AutomationClient.h"

#include "app/AutomationServer.h"
#include "resources/Strings.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

// A connection apart from the application's own, so that calls into this
// process are not short-cut inside QtDBus.
QDBusConnection clientBus() {
  return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("quillon-automation-client"));
}

bool failWith(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

QStringList AutomationClient::runningInstances() {
  QDBusConnection bus = clientBus();
  if (!bus.isConnected()) return {};
  const QDBusReply<QStringList> reply = bus.interface()->registeredServiceNames();
  if (!reply.isValid()) return {};
  QStringList names;
  for (const QString& name : reply.value())
    if (AutomationServer::isInstanceBusName(name)) names.append(name);
  names.sort();
  return names;
}

bool AutomationClient::call(const QString& busName, const QString& method, const QVariantList& args,
                            QString* error) {
  QDBusConnection bus = clientBus();
  if (!bus.isConnected())
    return failWith(error,
                    Strings::LoadString(Strings::IDS_UI_AUTOMATION_NO_SESSION_BUS).arg(bus.lastError().message()));

  QDBusMessage message =
      QDBusMessage::createMethodCall(busName, QLatin1String(AutomationServer::kObjectPath),
                                     QLatin1String(AutomationServer::kInterface), method);
  message.setArguments(args);
  // Keeps the event loop running while waiting, so an instance can call itself.
  const QDBusMessage reply = bus.call(message, QDBus::BlockWithGui);
  if (reply.type() == QDBusMessage::ErrorMessage)
    return failWith(error, Strings::LoadString(Strings::IDS_UI_AUTOMATION_CALL_FAILED)
                               .arg(method, busName, reply.errorMessage(), reply.errorName()));
  return true;
}
