#include "app/AutomationAdaptor.h"

#include "app/IAutomationTarget.h"
#include "core/ThresholdNames.h"
#include "resources/Strings.h"

#include <QMetaObject>
#include <utility>

AutomationAdaptor::AutomationAdaptor(IAutomationTarget& target, QObject* parent)
    : QObject(parent), m_target(target) {}

// `this` is the context: a call still queued when the adaptor goes away is dropped
// instead of reaching a target that may be gone too.
template <typename Call>
void AutomationAdaptor::later(Call&& call) {
  QMetaObject::invokeMethod(this, std::forward<Call>(call), Qt::QueuedConnection);
}

bool AutomationAdaptor::refusedWhileFetching() {
  if (!m_target.isFetching()) return false;
  if (calledFromDBus())
    sendErrorReply(QLatin1String(kBusyError), Strings::LoadString(Strings::IDS_UI_AUTOMATION_BUSY));
  return true;
}

void AutomationAdaptor::LaunchORB(int node, const QString& serverClass, const QString& host, int token,
                                  const QString& label, short levelUnits) {
  if (refusedWhileFetching()) return;
  later([this, node, serverClass, host, token, label, levelUnits] {
    m_target.LaunchORB(node, serverClass, host, token, label, levelUnits);
  });
}

void AutomationAdaptor::LaunchWithDates(int node, const QString& serverClass, const QString& host, int token,
                                        const QString& label, double start, double end, short levelUnits) {
  if (refusedWhileFetching()) return;
  later([this, node, serverClass, host, token, label, start, end, levelUnits] {
    m_target.LaunchWithDates(node, serverClass, host, token, label, start, end, levelUnits);
  });
}

void AutomationAdaptor::LaunchORBWithThreshNames(int node, const QString& serverClass, const QString& host,
                                                 int token, const QString& label, short levelUnits,
                                                 const QStringList& thresholdNames) {
  if (refusedWhileFetching()) return;
  later([this, node, serverClass, host, token, label, levelUnits, names = ThresholdNames(thresholdNames).list()] {
    m_target.LaunchORBWithThreshNames(node, serverClass, host, token, label, levelUnits, names);
  });
}

void AutomationAdaptor::LaunchWithDatesAndThreshNames(int node, const QString& serverClass, const QString& host,
                                                      int token, const QString& label, double start, double end,
                                                      short levelUnits, const QStringList& thresholdNames) {
  if (refusedWhileFetching()) return;
  later([this, node, serverClass, host, token, label, start, end, levelUnits,
         names = ThresholdNames(thresholdNames).list()] {
    m_target.LaunchWithDatesAndThreshNames(node, serverClass, host, token, label, start, end, levelUnits, names);
  });
}

void AutomationAdaptor::SetFreqRange(double low, double high) {
  later([this, low, high] { m_target.SetFreqRange(low, high); });
}
