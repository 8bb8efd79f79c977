// Start-up paths of the whole application object, and an automation call
// that reaches a real stand-in server. Runs inside a private session bus.
#include "ConnectedSession.h"
#include "app/AutomationClient.h"
#include "app/AutomationServer.h"
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/Registration.h"
#include "e2e/LoopbackSim.h"
#include "resources/Strings.h"
#include "support/DemoDatabase.h"

namespace {

class AppStartupTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    ASSERT_TRUE(m_data.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
  }
  void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

  static QStringList args(QStringList rest) { return QStringList{"quillon"} + rest; }

  QTemporaryDir m_data;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  int m_rc = -1;
};

// Registering ends without a window; no parameters show an empty window that
// waits for automation.
TEST_F(AppStartupTest, RegserverEndsAtOnceAndNoParametersWaitForAutomation) {
  EXPECT_FALSE(COrbiskApp().InitInstance(args({"/Regserver"}), &m_rc));
  EXPECT_EQ(m_rc, 0);
  EXPECT_TRUE(QFile::exists(Registration::desktopEntryPath()));
  EXPECT_FALSE(COrbiskApp().InitInstance(args({"-unregserver"}), &m_rc));
  EXPECT_FALSE(QFile::exists(Registration::desktopEntryPath()));

  COrbiskApp app;
  ASSERT_TRUE(app.InitInstance(args({}), &m_rc));
  ASSERT_NE(app.mainFrame(), nullptr);
  EXPECT_TRUE(app.mainFrame()->isVisible());
  ASSERT_NE(app.automation(), nullptr);
  EXPECT_TRUE(AutomationClient::runningInstances().contains(app.automation()->busName()));
  QApplication::processEvents();
  EXPECT_FALSE(app.session().isConnected());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
}

TEST_F(AppStartupTest, LaunchWithoutTokenIsRefused) {
  COrbiskApp app;
  ASSERT_TRUE(app.InitInstance(args({"/IP:127.0.0.1:1", "/NODE:3", "/token:5"}), &m_rc));
  EXPECT_TRUE(waitFor([&] { return !m_prompts.texts.isEmpty(); }));
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_UI_NO_TOKEN)});
  EXPECT_TRUE(waitFor([&] { return !app.mainFrame()->isVisible(); }));
}

// The launch ends in the modal New Graph dialog, looked at and cancelled from
// inside its own event loop; cancelling before any report ends the program.
TEST_F(AppStartupTest, AutomationLaunchConnectsAndOpensNewGraph) {
  SimOptions options;
  options.dbPath = seededDemoDatabase(DemoSeeder::currentQuarterHour(), 3);
  LoopbackSim sim(options);
  COrbiskApp app;
  ASSERT_TRUE(app.InitInstance(args({}), &m_rc));
  ASSERT_NE(app.automation(), nullptr);
  QString seen;
  answerNewGraph(app.mainFrame(), QDialogButtonBox::Cancel, [&] {
    seen = QStringLiteral("%1 %2 %3 %4")
               .arg(int(app.session().isConnected()))
               .arg(app.document().levelUnit().offset())
               .arg(app.mainFrame()->windowTitle(), app.mainFrame()->action(32803)->text());
  });
  QString error;
  ASSERT_TRUE(AutomationClient::call(
      app.automation()->busName(), "LaunchORBWithThreshNames",
      {3, QString(ServerSession::kCommandLineDataClass), QString::fromStdString(sim.address()), 1001,
       QString("Port 3"), QVariant::fromValue<qint16>(1), QStringList{"UH", "UL", "LH", "LL"}},
      &error))
      << error.toStdString();
  ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); })) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(seen, "1 -48.75 Quillon - Port 3 UL");
  EXPECT_TRUE(waitFor([&] { return !app.mainFrame()->isVisible(); }));
  app.ExitInstance();
  EXPECT_FALSE(app.session().isConnected());
}

}  // namespace
