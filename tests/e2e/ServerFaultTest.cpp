// The whole application launched from a command line against nembra-sim on
// loopback, with the server misbehaving: a token without the right to run the
// program, a session the administrator ends between reports, a server that
// goes away or restarts while a report is on screen, a keep-alive that fails.
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "sim/DemoSeeder.h"
#include "sim/FaultPlan.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <thread>

namespace {

using namespace std::chrono_literals;

QString text(int id) {
  return Strings::LoadString(id);
}

class ServerFaultTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    SimLog::setEnabled(false);
    ASSERT_TRUE(m_simDir.isValid());
    QSettings machine(machineFile(), QSettings::IniFormat);
    machine.setValue("Client/ServerInfo/Extra1",
                     QString::fromLatin1(ScrambleIdentity(DemoSeeder::kUser).c_str()));
    machine.setValue("Client/ServerInfo/Extra2",
                     QString::fromLatin1(ScrambleIdentity(DemoSeeder::kPassword).c_str()));
    machine.sync();
    // A setting of the user's that no failure may lose.
    SettingsStore store;
    StartupSettings saved;
    saved.referenceStep = 2;
    saved.Save(store);
    store.sync();

    std::string error;
    auto db = SimDatabase::open(databaseFile(), &error);
    ASSERT_TRUE(db && DemoSeeder(DemoSeeder::currentQuarterHour(), 2).seed(*db, &error)) << error;
  }

  void TearDown() override {
    m_app.reset();
    m_host.reset();
    m_sim.reset();
  }

  std::string databaseFile() const { return (m_simDir.path() + "/demo.db").toStdString(); }

  // Starts (or restarts) the server; a restart keeps the port.
  void startSim(SimOptions options = {}) {
    m_host.reset();
    m_sim.reset();
    options.dbPath = databaseFile();
    m_sim = std::make_unique<SimServer>(options);
    std::string error;
    ASSERT_TRUE(m_sim->open(&error)) << error;
    m_host = std::make_unique<SimHost>(*m_sim, ServiceOptions{});
    ASSERT_TRUE(m_host->start("127.0.0.1:" + std::to_string(m_port), &error)) << error;
    m_port = m_host->port();
  }

  // Runs the event loop until `done` or the time runs out (sanitizer builds
  // are slow).
  static bool waitFor(const std::function<bool()>& done, int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  // Presses OK in the New Graph dialog each time it opens, from inside its
  // own event loop.
  void acceptNewGraphs() {
    QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] {
      auto* dialog = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      if (++m_dialogs == 1) m_titleAtFirstDialog = m_app->mainFrame()->windowTitle();
      m_connectedAtDialog = m_app->session().isConnected();
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      if (dialog->isVisible()) dialog->reject();  // a refused OK must not hang the test
    });
    m_poll.start(20);
  }

  // Launches as a Nembra launcher does, for a 24 Hour report of Port 3.
  void launch(int32_t token) {
    m_app = std::make_unique<COrbiskApp>();
    int rc = -1;
    const QStringList args{"quillon",
                           QStringLiteral("/IP:127.0.0.1:%1").arg(m_port),
                           QStringLiteral("/TOKEN:%1").arg(token),
                           "/NODE:3",
                           "/LABEL:Port 3",
                           "/QUERY:3",
                           "/INC:1",
                           "/STAT:1"};
    ASSERT_TRUE(m_app->InitInstance(args, &rc));
    m_app->document().setPacing(FetchPacing{20ms, 5ms, {}});
    QObject::connect(&m_app->document(), &COrbiskDoc::reportReady, &m_poll, [this] { ++m_reports; });
  }

  bool reportShown() { return m_app->mainFrame()->windowTitle() == "Quillon - Port 3 24 Hour"; }
  bool programEnded() { return !m_app->mainFrame()->isVisible(); }
  int ribbonsKept() { return m_app->document().ribbonSet(TwentyFourHour).ribbonCount; }

  // The launched report, on screen.
  void launchAndShowFirstReport() {
    acceptNewGraphs();
    launch(DemoSeeder::kToken);
    ASSERT_TRUE(waitFor([&] { return reportShown(); })) << m_prompts.texts.join('|').toStdString();
    ASSERT_EQ(ribbonsKept(), 24);
    ASSERT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
    EXPECT_EQ(m_titleAtFirstDialog, text(Strings::IDS_APP_TITLE));  // no title before the report's
  }

  void newGraph() { m_app->mainFrame()->action(CommandIds::ID_GRAPH_NEW)->trigger(); }

  // The user's settings came through the failure and the program's exit.
  void expectSettingsKept() {
    m_app->ExitInstance();
    SettingsStore store;
    EXPECT_EQ(StartupSettings::Load(store).referenceStep, 2);
  }

  QTemporaryDir m_simDir;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<SimServer> m_sim;
  std::unique_ptr<SimHost> m_host;
  int m_port = 0;
  std::unique_ptr<COrbiskApp> m_app;
  QTimer m_poll;
  int m_dialogs = 0;
  QString m_titleAtFirstDialog;
  int m_reports = 0;
  bool m_connectedAtDialog = false;
};

TEST_F(ServerFaultTest, TokenWithoutTheRightOpensASessionAndIsRefusedAfterNewGraph) {
  startSim();
  acceptNewGraphs();
  launch(DemoSeeder::kTokenWithoutPermission);
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_dialogs, 1);
  EXPECT_TRUE(m_connectedAtDialog);
  EXPECT_EQ(m_prompts.texts, QStringList{text(Strings::IDS_NO_PERMISSION)});
  EXPECT_EQ(m_prompts.texts[0],
            "You do not have permission to launch Quillon. Please contact your system administrator for more "
            "information.\n");
  EXPECT_EQ(ribbonsKept(), 0);  // nothing was fetched
  expectSettingsKept();
}

TEST_F(ServerFaultTest, SessionEndedBetweenReportsFailsTheNextSecurityCheck) {
  SimOptions options;
  options.sessionLifetime = 1s;
  startSim(options);
  launchAndShowFirstReport();
  std::this_thread::sleep_for(1100ms);
  newGraph();
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(
      m_prompts.texts,
      QStringList{"Security check failed. The administrator may have logged you off of the system, or your "
                  "session may have timed out.\n"});
  EXPECT_EQ(ribbonsKept(), 24);
  expectSettingsKept();
}

// The server goes away, or comes back as a new process that knows none of
// the session's objects, while a report is on screen. The permission check's
// own result is not looked at, so both read as a refused permission.
TEST_F(ServerFaultTest, ServerGoneOrRestartedBeforeTheNextReport) {
  for (const bool restart : {false, true}) {
    SCOPED_TRACE(restart ? "restarted" : "stopped");
    m_prompts.texts.clear();
    m_dialogs = 0;
    startSim();
    launchAndShowFirstReport();
    if (restart)
      startSim();
    else
      m_host->shutdown();
    newGraph();
    ASSERT_TRUE(waitFor([&] { return programEnded(); })) << m_prompts.texts.join('|').toStdString();
    EXPECT_EQ(m_prompts.texts, QStringList{text(Strings::IDS_NO_PERMISSION)});
    EXPECT_EQ(ribbonsKept(), 24);
    expectSettingsKept();
    m_poll.disconnect();
    m_app.reset();
  }
}

TEST_F(ServerFaultTest, ServerFailureDuringTheNextFetchIsReportedAndEndsTheProgram) {
  SimOptions options;
  options.faults = std::make_shared<FaultPlan>();
  startSim(options);
  launchAndShowFirstReport();
  std::string error;
  *options.faults = std::move(*FaultPlan::parse({"fail:StartRibbonRequest:0x80044000"}, &error));
  newGraph();
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_prompts.texts, QStringList{"Database threw an exception. Request failed."})
      << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(ribbonsKept(), 24);
  expectSettingsKept();
}

TEST_F(ServerFaultTest, FailingKeepAliveStaysSilentAndTheNextReportRuns) {
  startSim();
  launchAndShowFirstReport();
  for (const char* rule : {"fail:KeepAlive:0x800706BA", "delay:KeepAlive:50"}) {
    SCOPED_TRACE(rule);
    SimOptions faulty;
    std::string error;
    faulty.faults = std::make_shared<FaultPlan>(*FaultPlan::parse({rule}, &error));
    startSim(faulty);
    ASSERT_TRUE(m_app->session().Connect(3, ServerSession::kCommandLineDataClass,
                                         QStringLiteral("127.0.0.1:%1").arg(m_port), DemoSeeder::kToken,
                                         "Port 3"));
    m_app->session().KeepAlive();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
    EXPECT_FALSE(programEnded());
  }
  const int reports = m_reports;
  newGraph();
  EXPECT_TRUE(waitFor([&] { return m_reports > reports; })) << m_prompts.texts.join('|').toStdString();
  // A server that is gone answers the keep-alive with nothing shown either.
  m_host->shutdown();
  m_app->session().KeepAlive();
  QCoreApplication::processEvents();
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_FALSE(programEnded());
  EXPECT_TRUE(reportShown());
  EXPECT_EQ(ribbonsKept(), 24);
}

}  // namespace
