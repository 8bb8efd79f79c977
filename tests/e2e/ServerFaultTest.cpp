// The whole application launched from a command line against nembra-sim on
// loopback, with the server misbehaving before, between and during reports.
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/ConnectedSession.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "e2e/LoopbackSim.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "support/DemoDatabase.h"

#include <QAction>
#include <thread>

namespace {

using namespace std::chrono_literals;

class ServerFaultTest : public TempSettingsTest {
public:  // the case tables reach in
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
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

  // Presses OK in the New Graph dialog each time it opens.
  void acceptNewGraphs() {
    answerNewGraph(
        m_guard.get(), QDialogButtonBox::Ok,
        [this] {
          if (++m_dialogs == 1) m_titleAtFirstDialog = m_app->mainFrame()->windowTitle();
          m_connectedAtDialog = m_app->session().isConnected();
        },
        false);
  }

  // Launches as a Nembra launcher does, for a 24 Hour report of Port 3.
  void launch(int32_t token) {
    m_app = std::make_unique<COrbiskApp>();
    int rc = -1;
    const QString ip = QStringLiteral("/IP:127.0.0.1:%1").arg(m_port),
                  tok = QStringLiteral("/TOKEN:%1").arg(token);
    ASSERT_TRUE(m_app->InitInstance(
        {"quillon", ip, tok, "/NODE:3", "/LABEL:Port 3", "/QUERY:3", "/INC:1", "/STAT:1"}, &rc));
    m_app->document().setPacing(FetchPacing{20ms, 5ms, {}});
    QObject::connect(&m_app->document(), &COrbiskDoc::reportReady, m_guard.get(), [this] { ++m_reports; });
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
  std::shared_ptr<FaultPlan> m_faults;
  std::unique_ptr<COrbiskApp> m_app;
  std::unique_ptr<QObject> m_guard = std::make_unique<QObject>();  // after the app: goes first
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
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_PERMISSION)});
  EXPECT_EQ(ribbonsKept(), 0);  // nothing was fetched
  expectSettingsKept();
}

// What goes wrong while a report is on screen, found by the next New Graph.
// A server gone, or back as a new process that knows none of the session's
// objects: the permission check's own result is not looked at, so both read
// as a refused permission.
TEST_F(ServerFaultTest, FaultBeforeTheNextReportIsReportedAndEndsTheProgram) {
  const struct {
    const char* fault;
    bool sessionExpires;
    void (*between)(ServerFaultTest&);
    QString message;
  } cases[] = {
      {"session ended", true, [](ServerFaultTest&) { std::this_thread::sleep_for(1100ms); },
       Strings::LoadString(Strings::IDS_SECURITY_CHECK_FAILED)},
      {"server gone, the keep-alive silent", false,
       [](ServerFaultTest& t) {
         t.m_sim->host().shutdown();
         t.m_app->session().KeepAlive();
       },
       Strings::LoadString(Strings::IDS_NO_PERMISSION)},
      {"server restarted", false, [](ServerFaultTest& t) { t.startSim(); },
       Strings::LoadString(Strings::IDS_NO_PERMISSION)},
      {"fetch fails", false,
       [](ServerFaultTest& t) { *t.m_faults = std::move(*faults({"fail:StartRibbonRequest:0x80044000"})); },
       "Database threw an exception. Request failed."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    m_prompts.texts.clear();
    m_dialogs = 0;
    SimOptions options;
    if (c.sessionExpires) options.sessionLifetime = 1s;
    options.faults = m_faults = std::make_shared<FaultPlan>();
    startSim(options);
    launchAndShowFirstReport();
    c.between(*this);
    newGraph();
    ASSERT_TRUE(waitFor([&] { return programEnded(); })) << shown();
    EXPECT_EQ(m_prompts.texts, QStringList{c.message});
    EXPECT_EQ(ribbonsKept(), 24);
    expectSettingsKept();
    m_guard = std::make_unique<QObject>();
    m_app.reset();
  }
}

TEST_F(ServerFaultTest, FailingKeepAliveStaysSilentAndTheNextReportRuns) {
  SimOptions faulty;
  faulty.faults = faults({"delay:KeepAlive:50", "fail:KeepAlive:0x800706BA"});
  startSim(faulty);
  launchAndShowFirstReport();
  m_app->session().KeepAlive();
  const int reports = m_reports;
  newGraph();
  EXPECT_TRUE(waitFor([&] { return m_reports > reports; })) << shown();
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << shown();
  EXPECT_FALSE(programEnded());
}

}  // namespace
