#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

class IAutomationTarget;

// The document's automation interface as D-Bus sees it. Each slot answers the
// caller at once and hands the call to the target through the event loop: a
// launch shows modal dialogs and runs a fetch, and a launcher waiting for the
// reply must not hang on them.
//
// A launch that arrives while a report is being fetched is refused with the
// error `kBusyError`: it would replace the session under the running fetch.
//
// The slot parameter types fix the D-Bus signatures (int i, QString s,
// short n, double d, QStringList as), so they must not be widened.
class AutomationAdaptor : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "QuillonView.Document")

public:
  static constexpr const char* kBusyError = "org.veltrix.Quillon.Error.Busy";

  explicit AutomationAdaptor(IAutomationTarget& target, QObject* parent = nullptr);

public Q_SLOTS:
  Q_SCRIPTABLE void LaunchORB(int node, const QString& serverClass, const QString& host, int token,
                              const QString& label, short levelUnits);
  Q_SCRIPTABLE void LaunchWithDates(int node, const QString& serverClass, const QString& host, int token,
                                    const QString& label, double start, double end, short levelUnits);
  Q_SCRIPTABLE void LaunchORBWithThreshNames(int node, const QString& serverClass, const QString& host,
                                             int token, const QString& label, short levelUnits,
                                             const QStringList& thresholdNames);
  Q_SCRIPTABLE void LaunchWithDatesAndThreshNames(int node, const QString& serverClass, const QString& host,
                                                  int token, const QString& label, double start, double end,
                                                  short levelUnits, const QStringList& thresholdNames);
  Q_SCRIPTABLE void SetFreqRange(double low, double high);

private:
  template <typename Call>
  void later(Call&& call);
  // Answers the caller with the busy error when a fetch runs.
  bool refusedWhileFetching();

  IAutomationTarget& m_target;
};
