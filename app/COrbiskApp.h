#pragma once

#include "app/CCommandLineInfoWav.h"
#include "app/IAutomationTarget.h"

#include <QStringList>
#include <functional>
#include <memory>

class AutomationServer;
class CMainFrame;
class COrbiskDoc;
class ServerSession;
struct AutomationCall;

// The application: start-up in its fixed order, the command-line launch and
// the automation methods. It owns the session for the whole run.
class COrbiskApp : public IAutomationTarget {
public:
  COrbiskApp();
  ~COrbiskApp() override;

  // Runs start-up with the program's arguments (argv[0] first); answers
  // false when the program should end at once with `exitCode`.
  bool InitInstance(const QStringList& arguments, int* exitCode);
  // Exit: closes the session and writes the start-up settings back.
  void ExitInstance();

  ServerSession& session() { return *m_session; }
  COrbiskDoc& document() { return *m_doc; }
  CMainFrame* mainFrame() { return m_frame.get(); }
  AutomationServer* automation() { return m_automation.get(); }

  // The automation methods.
  void LaunchORB(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                 const QString& label, int16_t levelUnits) override;
  void LaunchWithDates(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                       const QString& label, double start, double end, int16_t levelUnits) override;
  void LaunchORBWithThreshNames(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                                const QString& label, int16_t levelUnits, const QStringList& names) override;
  void LaunchWithDatesAndThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                     int32_t token, const QString& label, double start, double end,
                                     int16_t levelUnits, const QStringList& names) override;
  void SetFreqRange(double low, double high) override;
  bool isFetching() const override;

  // Makes an automation call described on the command line ("--launch").
  void runAutomationCall(const AutomationCall& call);

private:
  // The command-line launch: token check, connect, pre-filled dialog, report.
  void CommandLineLaunch(const LaunchParameters& params);
  // What LaunchORB and LaunchWithDates share after their own first steps.
  void connectAndPostNewGraph(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                              const QString& label);
  void applyThresholdNames(const QStringList& names);
  // A launch accepted just before a fetch began waits for it to end: it
  // would replace the session the fetch is using. True when deferred.
  bool deferredWhileFetching(std::function<void()> launch);

  std::unique_ptr<ServerSession> m_session;
  std::unique_ptr<COrbiskDoc> m_doc;
  std::unique_ptr<CMainFrame> m_frame;
  std::unique_ptr<AutomationServer> m_automation;
  CCommandLineInfoWav m_commandLine;
};
