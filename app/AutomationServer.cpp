#include "app/AutomationServer.h"

#include "app/AutomationAdaptor.h"
#include "resources/Strings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusReply>
#include <QRegularExpression>

QString AutomationServer::busNameFor(qint64 pid) { return QLatin1String(kBusNamePrefix) + QString::number(pid); }

bool AutomationServer::isInstanceBusName(const QString& name) {
  static const QRegularExpression pattern(
      QStringLiteral("^%1[0-9]+$").arg(QRegularExpression::escape(QLatin1String(kBusNamePrefix))));
  return pattern.match(name).hasMatch();
}

AutomationServer::AutomationServer() = default;

AutomationServer::~AutomationServer() { stop(); }

bool AutomationServer::start(IAutomationTarget& target, QString* error) {
  auto fail = [error](const QString& text) {
    if (error) *error = text;
    return false;
  };
  stop();

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return fail(Strings::LoadString(Strings::IDS_UI_AUTOMATION_NO_SESSION_BUS).arg(bus.lastError().message()));

  const QString path = QLatin1String(kObjectPath);
  m_adaptor = std::make_unique<AutomationAdaptor>(target);
  if (!bus.registerObject(path, m_adaptor.get(), QDBusConnection::ExportScriptableSlots)) {
    m_adaptor.reset();
    return fail(Strings::LoadString(Strings::IDS_UI_AUTOMATION_PATH_IN_USE).arg(path));
  }
  m_objectRegistered = true;

  const QString name = busNameFor(QCoreApplication::applicationPid());
  // Never queue for the name: a queued owner would look registered and answer nothing.
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
      name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    const QString why = reply.isValid() ? Strings::LoadString(Strings::IDS_UI_AUTOMATION_NAME_OWNED)
                                        : reply.error().message();
    stop();
    return fail(Strings::LoadString(Strings::IDS_UI_AUTOMATION_NAME_FAILED).arg(name, why));
  }
  m_busName = name;
  return true;
}

void AutomationServer::stop() {
  if (m_busName.isEmpty() && !m_objectRegistered) {
    m_adaptor.reset();
    return;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!m_busName.isEmpty()) {
    bus.unregisterService(m_busName);
    m_busName.clear();
  }
  // Only a path this server registered is taken down; a failed start must not
  // remove another server's object.
  if (m_objectRegistered) {
    bus.unregisterObject(QLatin1String(kObjectPath));
    m_objectRegistered = false;
  }
  m_adaptor.reset();
}
