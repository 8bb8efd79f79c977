// Start-up paths of the whole application object, and an automation call
// that reaches a real stand-in server. Runs inside a private session bus.
#include "ConnectedSession.h"
#include "app/AutomationClient.h"
#include "app/AutomationServer.h"
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/Registration.h"
#include "core/SettingsStore.h"
#include "e2e/LoopbackSim.h"
#include "resources/Strings.h"
#include "support/DemoDatabase.h"

#include <QComboBox>

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

// The first load of the last selection in a session launched with a reference
// time (a dated command line or LaunchWithDates) opens on the first type and
// increment; later loads, and loads after LaunchORB, read them.
TEST_F(AppStartupTest, FirstNewGraphOfADatedSessionOpensOnTheFirstTypeAndIncrement) {
  SimOptions options;
  const int32_t now = DemoSeeder::currentQuarterHour();
  options.dbPath = seededDemoDatabase(now, 3);
  LoopbackSim sim(options);
  {
    SettingsStore store;
    RegistryKey section = store.sectionKey(Strings::LoadString(Strings::IDS_SETTINGS_SECTION));
    GraphQuery last;
    last.graphType = TwentyFourHour;
    last.increment = Increment::k1Hour;
    last.SaveToRegistry(section);
  }
  const QString host = QString::fromStdString(sim.address());
  const QStringList launch{"/IP:" + host, "/TOKEN:1001", "/NODE:3",
                           "/QUERY:3",    "/INC:1",      QString("/TIMESTART:%1").arg(now - 7200)};
  const QString stop = QString("/TIMESTOP:%1").arg(now - 3600);
  const QString last = "24 Hour/1 Hour", first = "Time Window Summary/15 Min";
  // Steps: D LaunchWithDates, O LaunchORB, N the menu's New Graph.
  const struct {
    QStringList commandLine;
    QStringList steps;
    QStringList shown;
  } cases[] = {
      {launch + QStringList{stop}, {"N", "N"}, {last, first, last}},
      {launch, {"N"}, {last, last}},
      {{}, {"D", "D"}, {first, last}},
      {launch + QStringList{stop}, {"O"}, {last, last}},
  };
  for (const auto& c : cases) {
    COrbiskApp app;
    ASSERT_TRUE(app.InitInstance(args(c.commandLine), &m_rc));
    QStringList shown;
    answerNewGraph(
        app.mainFrame(), QDialogButtonBox::Cancel,
        [&] {
          auto* dialog = QApplication::activeModalWidget();
          shown << dialog->findChild<QComboBox*>("graphType")->currentText() + '/' +
                       dialog->findChild<QComboBox*>("increment")->currentText();
        },
        false);
    qsizetype expected = c.commandLine.isEmpty() ? 0 : 1;
    ASSERT_TRUE(waitFor([&] { return shown.size() == expected; }));
    const double start = CNBDateTime::FromSeconds(now - 7200).value();
    for (const QString& step : c.steps) {
      if (step == "D")
        app.LaunchWithDates(3, ServerSession::kCommandLineDataClass, host, 1001, "Port 3", start, start, 0);
      else if (step == "O")
        app.LaunchORB(3, ServerSession::kCommandLineDataClass, host, 1001, "Port 3", 0);
      else
        QTimer::singleShot(0, app.mainFrame()->action(32777), &QAction::trigger);
      ++expected;
      ASSERT_TRUE(waitFor([&] { return shown.size() == expected; }))
          << m_prompts.texts.join('|').toStdString();
    }
    EXPECT_EQ(shown, c.shown) << c.commandLine.join(' ').toStdString() << ' '
                              << c.steps.join(',').toStdString();
  }
}

}  // namespace
