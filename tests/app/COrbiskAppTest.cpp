// Start-up paths of the whole application object, and an automation call
// that reaches a real stand-in server. Runs inside a private session bus.
#include "ConnectedSession.h"
#include "app/AutomationClient.h"
#include "app/AutomationServer.h"
#include "app/CMainFrame.h"
#include "app/COrbiskApp.h"
#include "app/Registration.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/Strings.h"
#include "sim/DemoSeeder.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"

#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

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
  // Runs the event loop until `done` or the time runs out.
  static bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  QTemporaryDir m_data;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
};

// Registering ends without a window; no parameters show an empty window that
// waits for automation.
TEST_F(AppStartupTest, RegserverEndsAtOnceAndNoParametersWaitForAutomation) {
  int rc = -1;
  EXPECT_FALSE(COrbiskApp().InitInstance(args({"/Regserver"}), &rc));
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(QFile::exists(Registration::desktopEntryPath()));
  EXPECT_FALSE(COrbiskApp().InitInstance(args({"-unregserver"}), &rc));
  EXPECT_FALSE(QFile::exists(Registration::desktopEntryPath()));

  COrbiskApp app;
  ASSERT_TRUE(app.InitInstance(args({}), &rc));
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
  int rc = -1;
  ASSERT_TRUE(app.InitInstance(args({"/IP:127.0.0.1:1", "/NODE:3", "/token:5"}), &rc));
  EXPECT_TRUE(waitFor([&] { return !m_prompts.texts.isEmpty(); }));
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_UI_NO_TOKEN)});
  EXPECT_TRUE(waitFor([&] { return !app.mainFrame()->isVisible(); }));
}

TEST_F(AppStartupTest, AutomationLaunchConnectsAndOpensNewGraph) {
  SimLog::setEnabled(false);
  QTemporaryDir simDir;
  const std::string db = (simDir.path() + "/demo.db").toStdString();
  std::string error;
  {
    auto database = SimDatabase::open(db, &error);
    ASSERT_TRUE(database && DemoSeeder(DemoSeeder::currentQuarterHour(), 3).seed(*database, &error)) << error;
  }
  SimOptions options;
  options.dbPath = db;
  SimServer sim(options);
  ASSERT_TRUE(sim.open(&error)) << error;
  SimHost host(sim, ServiceOptions{});
  ASSERT_TRUE(host.start("127.0.0.1:0", &error)) << error;

  COrbiskApp app;
  int rc = -1;
  ASSERT_TRUE(app.InitInstance(args({}), &rc));
  ASSERT_NE(app.automation(), nullptr);
  // The launch ends in the modal New Graph dialog, which is looked at and
  // cancelled from inside its own event loop (the call itself keeps the
  // event loop running while it waits, so the launch may start within it).
  bool connected = false;
  double offset = 0.0;
  QString title, renamed;
  bool seen = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
    auto* dialog = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
    if (!dialog || seen) return;
    seen = true;
    connected = app.session().isConnected();
    offset = app.document().levelUnit().offset();
    title = app.mainFrame()->windowTitle();
    renamed = app.mainFrame()->action(32803)->text();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  poll.start(20);
  QString callError;
  const QString address = QStringLiteral("127.0.0.1:%1").arg(host.port());
  ASSERT_TRUE(AutomationClient::call(
      app.automation()->busName(), "LaunchORBWithThreshNames",
      {3, QString(ServerSession::kCommandLineDataClass), address, 1001, QString("Port 3"),
       QVariant::fromValue<qint16>(1), QStringList{"UH", "UL", "LH", "LL"}},
      &callError))
      << callError.toStdString();
  ASSERT_TRUE(waitFor([&] { return seen; })) << m_prompts.texts.join('|').toStdString();
  EXPECT_TRUE(connected);
  EXPECT_EQ(offset, -48.75);
  EXPECT_EQ(title, "Quillon - Port 3");
  EXPECT_EQ(renamed, "UL");
  // Cancelling before any report ends the program.
  EXPECT_TRUE(waitFor([&] { return !app.mainFrame()->isVisible(); }));
  app.ExitInstance();
  EXPECT_FALSE(app.session().isConnected());
}

}  // namespace
