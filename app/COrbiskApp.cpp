#include "app/COrbiskApp.h"

#include "app/AutomationServer.h"
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/LaunchRequest.h"
#include "app/Registration.h"
#include "app/ServerSession.h"
#include "core/CQLRegUpdater.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"

#include <QAction>
#include <QTimer>
#include <cstdio>

COrbiskApp::COrbiskApp() = default;

COrbiskApp::~COrbiskApp() {
  // The window goes before the document it shows.
  m_automation.reset();
  m_frame.reset();
  m_doc.reset();
}

bool COrbiskApp::InitInstance(const QStringList& arguments, int* exitCode) {
  *exitCode = 0;
  // Settings of earlier releases are carried over before anything reads them.
  {
    CQLRegUpdater updater(SettingsStore::profileName(), SettingsStore::vendorName());
    updater.Update();
  }
  m_session = std::make_unique<ServerSession>();
  m_doc = std::make_unique<COrbiskDoc>(*m_session);

  m_commandLine = CCommandLineInfoWav::parse(arguments);
  if (m_commandLine.registerServer() || m_commandLine.unregisterServer()) {
    const Registration::Result r =
        m_commandLine.registerServer() ? Registration::registerServer() : Registration::unregisterServer();
    std::fprintf(r.ok ? stdout : stderr, "%s\n", r.message.toLocal8Bit().constData());
    *exitCode = r.ok ? 0 : 1;
    return false;
  }

  m_frame = std::make_unique<CMainFrame>(*m_doc, *m_session);
  {
    SettingsStore store;
    m_doc->startup() = StartupSettings::Load(store);
  }
  // Each instance answers automation calls unless it was started to run one
  // launch of its own; no session bus simply means no automation.
  if (!m_commandLine.launchParameters().launchedWithParameters) {
    m_automation = std::make_unique<AutomationServer>();
    QString error;
    if (!m_automation->start(*this, &error)) {
      std::fprintf(stderr, "quillon: automation unavailable: %s\n", error.toLocal8Bit().constData());
      m_automation.reset();
    }
  }
  m_frame->show();

  if (m_commandLine.launchRequested()) {
    QString error;
    const auto call = AutomationCall::parseLaunch(m_commandLine.launchArguments(), &error);
    if (!call) {
      std::fprintf(stderr, "quillon: %s\n", error.toLocal8Bit().constData());
      *exitCode = 2;
      return false;
    }
    // After start-up, as a call from another program would arrive.
    QTimer::singleShot(0, m_frame.get(), [this, c = *call] { runAutomationCall(c); });
  } else if (m_commandLine.launchParameters().launchedWithParameters) {
    QTimer::singleShot(0, m_frame.get(), [this] { CommandLineLaunch(m_commandLine.launchParameters()); });
  }
  return true;
}

void COrbiskApp::ExitInstance() {
  if (m_session) {
    m_session->Close();
    SettingsStore store;
    m_doc->startup().Save(store);
  }
}

void COrbiskApp::CommandLineLaunch(const LaunchParameters& params) {
  if (params.token == -1) {
    Prompts::current().message(m_frame.get(), Strings::LoadString(Strings::IDS_UI_NO_TOKEN));
    m_frame->close();
    return;
  }
  m_session->setToken(params.token);
  m_frame->resetRequest();
  m_session->setNode(params.node);
  m_session->setHost(params.serverHost);
  m_session->setLabel(params.label);
  if (!m_session->Connect(params.node, QString::fromLatin1(ServerSession::kCommandLineDataClass),
                          params.serverHost, params.token, params.label)) {
    m_frame->close();
    return;
  }
  // The title waits for the first report, which names itself in it.
  CMainFrame::NewGraphPrefill prefill;
  prefill.query = m_frame->newGraphQuery();
  bool upToTheSecond = false;
  CNBDateTime launchStart = m_doc->launchStart();
  bool datesSupplied = m_doc->datesSupplied();
  LaunchRequest::Apply(params, prefill.query, upToTheSecond, launchStart, datesSupplied);
  m_doc->setLaunchStart(launchStart);
  m_doc->setDatesSupplied(datesSupplied);
  if (params.upToTheSecond != -1) prefill.upToTheSecond = upToTheSecond;
  prefill.openedByLaunch = true;
  m_frame->prefillNewGraph(prefill);
  // The same New Graph as the menu's: before the first report, a Cancel or
  // a failed request ends the program.
  m_frame->OnNewGraph();
}

void COrbiskApp::connectAndPostNewGraph(int32_t node, const QString& serverClass, const QString& host,
                                        int32_t token, const QString& label) {
  // A launch starts over: the report followed so far is left as it is.
  m_frame->stopFollowing();
  m_session->setNode(node);
  m_session->setServerClass(serverClass);
  m_session->setHost(host);
  m_session->setToken(token);
  m_session->setLabel(label);
  if (!m_session->Connect(node, serverClass, host, token, label)) return;
  // Posted, so the caller's call returns before the dialog shows.
  QTimer::singleShot(0, m_frame.get(), [this] { m_frame->action(CommandIds::ID_GRAPH_NEW)->trigger(); });
}

bool COrbiskApp::isFetching() const {
  return m_doc && m_doc->isFetching();
}

bool COrbiskApp::deferredWhileFetching(std::function<void()> launch) {
  if (!isFetching()) return false;
  QObject::connect(m_doc.get(), &COrbiskDoc::fetchEnded, m_frame.get(), std::move(launch),
                   static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
  return true;
}

void COrbiskApp::LaunchORB(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                           const QString& label, int16_t levelUnits) {
  if (deferredWhileFetching([=, this] { LaunchORB(node, serverClass, host, token, label, levelUnits); }))
    return;
  m_doc->setDatesSupplied(false);
  m_frame->setWindowTitle(Strings::LoadString(Strings::IDS_TITLE_FORMAT).arg(label));
  m_doc->setLevelUnit(LevelUnit::fromCode(levelUnits));
  connectAndPostNewGraph(node, serverClass, host, token, label);
}

void COrbiskApp::LaunchWithDates(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                                 const QString& label, double start, double /*end: accepted, not used*/,
                                 int16_t levelUnits) {
  if (deferredWhileFetching(
          [=, this] { LaunchWithDates(node, serverClass, host, token, label, start, 0.0, levelUnits); }))
    return;
  m_doc->setDatesSupplied(true);
  m_doc->setLaunchStart(CNBDateTime(start));
  // The dialog's first opening starts from the launch's reference time.
  m_frame->resetRequest(CNBDateTime(start));
  m_doc->setLevelUnit(LevelUnit::fromCode(levelUnits));
  connectAndPostNewGraph(node, serverClass, host, token, label);
}

void COrbiskApp::applyThresholdNames(const QStringList& names) {
  m_doc->setThresholdNames(names);
  m_frame->setThresholdNames(m_doc->thresholdNames());
}

void COrbiskApp::LaunchORBWithThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                          int32_t token, const QString& label, int16_t levelUnits,
                                          const QStringList& names) {
  if (deferredWhileFetching(
          [=, this] { LaunchORBWithThreshNames(node, serverClass, host, token, label, levelUnits, names); }))
    return;
  LaunchORB(node, serverClass, host, token, label, levelUnits);
  applyThresholdNames(names);
}

void COrbiskApp::LaunchWithDatesAndThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                               int32_t token, const QString& label, double start, double end,
                                               int16_t levelUnits, const QStringList& names) {
  if (deferredWhileFetching([=, this] {
        LaunchWithDatesAndThreshNames(node, serverClass, host, token, label, start, end, levelUnits, names);
      }))
    return;
  LaunchWithDates(node, serverClass, host, token, label, start, end, levelUnits);
  applyThresholdNames(names);
}

void COrbiskApp::SetFreqRange(double low, double high) {
  m_doc->SetFreqRange(low, high);
}

void COrbiskApp::runAutomationCall(const AutomationCall& c) {
  const QString m = c.method;
  if (m == QLatin1String("LaunchORB"))
    LaunchORB(c.node, c.serverClass, c.host, c.token, c.label, c.units);
  else if (m == QLatin1String("LaunchWithDates"))
    LaunchWithDates(c.node, c.serverClass, c.host, c.token, c.label, c.start, c.end, c.units);
  else if (m == QLatin1String("LaunchORBWithThreshNames"))
    LaunchORBWithThreshNames(c.node, c.serverClass, c.host, c.token, c.label, c.units, c.names);
  else if (m == QLatin1String("LaunchWithDatesAndThreshNames"))
    LaunchWithDatesAndThreshNames(c.node, c.serverClass, c.host, c.token, c.label, c.start, c.end, c.units,
                                  c.names);
  else if (m == QLatin1String("SetFreqRange"))
    SetFreqRange(c.low, c.high);
}
