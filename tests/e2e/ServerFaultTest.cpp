// The whole application launched from a command line against nembra-sim on
// loopback, with the server misbehaving: a token without the right to run the
// program, a session the administrator ends between reports, a server that
// goes away or restarts while a report is on screen, a keep-alive that fails.
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "e2e/LoopbackSim.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "support/DemoDatabase.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <thread>

namespace {

using namespace std::chrono_literals;

const char* const kNoPermission =
    "You do not have permission to launch Quillon. Please contact your system administrator for more "
    "information.\n";

class ServerFaultTest : public DemoIdentityTest {
protected:
  void SetUp() override {
    DemoIdentityTest::SetUp();
    // A setting of the user's that no failure may lose.
    SettingsStore store;
    StartupSettings saved;
    saved.referenceStep = 2;
    saved.Save(store);
    store.sync();
  }

  // Starts (or restarts) the server; a restart keeps the port.
  void startSim(SimOptions options = {}) {
    m_sim.reset();
    options.dbPath = seededDemoDatabase(DemoSeeder::currentQuarterHour(), 2);
    m_sim = std::make_unique<LoopbackSim>(options, ServiceOptions{}, m_port);
    m_port = m_sim->port();
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

  std::string shown() const { return m_prompts.texts.join('|').toStdString(); }
  bool reportShown() { return m_app->mainFrame()->windowTitle() == "Quillon - Port 3 24 Hour"; }
  bool programEnded() { return !m_app->mainFrame()->isVisible(); }
  int ribbonsKept() { return m_app->document().ribbonSet(TwentyFourHour).ribbonCount; }

  // The launched report, on screen.
  void launchAndShowFirstReport() {
    acceptNewGraphs();
    launch(DemoSeeder::kToken);
    ASSERT_TRUE(waitFor([&] { return reportShown(); })) << shown();
    ASSERT_EQ(ribbonsKept(), 24);
    ASSERT_TRUE(m_prompts.texts.isEmpty()) << shown();
    EXPECT_EQ(m_titleAtFirstDialog,
              Strings::LoadString(Strings::IDS_APP_TITLE));  // no title before the report's
  }

  void newGraph() { m_app->mainFrame()->action(CommandIds::ID_GRAPH_NEW)->trigger(); }

  // The user's settings came through the failure and the program's exit.
  void expectSettingsKept() {
    m_app->ExitInstance();
    SettingsStore store;
    EXPECT_EQ(StartupSettings::Load(store).referenceStep, 2);
  }

  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<LoopbackSim> m_sim;
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
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << shown();
  EXPECT_EQ(m_dialogs, 1);
  EXPECT_TRUE(m_connectedAtDialog);
  EXPECT_EQ(m_prompts.texts, QStringList{kNoPermission});
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
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << shown();
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
      m_sim->host().shutdown();
    newGraph();
    ASSERT_TRUE(waitFor([&] { return programEnded(); })) << shown();
    EXPECT_EQ(m_prompts.texts, QStringList{kNoPermission});
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
  ASSERT_TRUE(waitFor([&] { return programEnded(); })) << shown();
  EXPECT_EQ(m_prompts.texts, QStringList{"Database threw an exception. Request failed."}) << shown();
  EXPECT_EQ(ribbonsKept(), 24);
  expectSettingsKept();
}

TEST_F(ServerFaultTest, FailingKeepAliveStaysSilentAndTheNextReportRuns) {
  startSim();
  launchAndShowFirstReport();
  for (const char* rule : {"fail:KeepAlive:0x800706BA", "delay:KeepAlive:50"}) {
    SCOPED_TRACE(rule);
    SimOptions faulty;
    faulty.faults = faults({rule});
    startSim(faulty);
    ASSERT_TRUE(m_app->session().Connect(3, ServerSession::kCommandLineDataClass,
                                         QStringLiteral("127.0.0.1:%1").arg(m_port), DemoSeeder::kToken,
                                         "Port 3"));
    m_app->session().KeepAlive();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_prompts.texts.isEmpty()) << shown();
    EXPECT_FALSE(programEnded());
  }
  const int reports = m_reports;
  newGraph();
  EXPECT_TRUE(waitFor([&] { return m_reports > reports; })) << shown();
  // A server that is gone answers the keep-alive with nothing shown either.
  m_sim->host().shutdown();
  m_app->session().KeepAlive();
  QCoreApplication::processEvents();
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_FALSE(programEnded());
  EXPECT_TRUE(reportShown());
  EXPECT_EQ(ribbonsKept(), 24);
}

}  // namespace
