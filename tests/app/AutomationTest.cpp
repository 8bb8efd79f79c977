#include <gtest/gtest.h>

#include "app/AutomationClient.h"
#include "app/AutomationServer.h"
#include "app/IAutomationTarget.h"
#include "resources/Strings.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

const QString kDataServerClass = QStringLiteral("{E1E1F603-5464-11D1-B74D-00A0C909E2DC}");

// One argument as "type value", so a swapped or retyped argument shows.
QString describe(const QVariant& v) {
  const int type = v.metaType().id();
  return QLatin1String(v.typeName()) + ' ' +
         (type == QMetaType::QStringList ? '[' + v.toStringList().join('|') + ']'
          : type == QMetaType::Double    ? QString::number(v.toDouble(), 'g', 17)
                                         : v.toString());
}

class RecordingTarget : public IAutomationTarget {
public:
  std::vector<QString> calls;
  // Runs inside a launch, where the real launch would sit in a modal dialog.
  std::function<void()> duringLaunch;

  void LaunchORB(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                 const QString& label, int16_t levelUnits) override {
    record("LaunchORB", node, serverClass, host, token, label, levelUnits);
  }
  void LaunchWithDates(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                       const QString& label, double start, double end, int16_t levelUnits) override {
    record("LaunchWithDates", node, serverClass, host, token, label, start, end, levelUnits);
  }
  void LaunchORBWithThreshNames(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                                const QString& label, int16_t levelUnits, const QStringList& names) override {
    record("LaunchORBWithThreshNames", node, serverClass, host, token, label, levelUnits, names);
  }
  void LaunchWithDatesAndThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                     int32_t token, const QString& label, double start, double end,
                                     int16_t levelUnits, const QStringList& names) override {
    record("LaunchWithDatesAndThreshNames", node, serverClass, host, token, label, start, end, levelUnits,
           names);
  }
  void SetFreqRange(double low, double high) override { record("SetFreqRange", low, high); }
  bool isFetching() const override { return fetching; }
  bool fetching = false;

private:
  template <class... Args>
  void record(const char* method, const Args&... args) {
    const QStringList parts{describe(QVariant::fromValue(args))...};
    calls.push_back(QLatin1String(method) + '(' + parts.join(", ") + ')');
    if (duringLaunch && calls.back().startsWith("Launch")) duringLaunch();
  }
};

const auto units = [](int16_t code) { return QVariant::fromValue(code); };

class AutomationTest : public ::testing::Test {
protected:
  void SetUp() override {
    QString error;
    ASSERT_TRUE(m_server.start(m_target, &error)) << error.toStdString();
  }

  bool call(const QString& method, const QVariantList& args, QString* error = nullptr) {
    return AutomationClient::call(m_server.busName(), method, args, error);
  }

  std::vector<QString> callsAfter(size_t count) {
    (void)QTest::qWaitFor([&] { return m_target.calls.size() >= count; }, 5000);
    return m_target.calls;
  }

  // Waits without blocking this thread, which has to answer the program's calls.
  static bool finish(QProcess& process) {
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 15000);
  }

  RecordingTarget m_target;
  AutomationServer m_server;  // after the target: goes first
};

// Threshold names are padded or cut to four; an end before the start is passed on as given.
TEST_F(AutomationTest, EachMethodReachesTheTargetInOrderWithItsArguments) {
  const std::pair<QString, QVariantList> calls[] = {
      {"LaunchORB", {3, kDataServerClass, "127.0.0.1", 1001, "Port 3", units(2)}},
      {"LaunchWithDates", {-7, "c", "host:50515", -1, QString(), 45260.75, 45260.25, units(-1)}},
      {"LaunchORBWithThreshNames", {1, "c", "h", 2, "l", units(0), QStringList{"A", "B"}}},
      {"LaunchWithDatesAndThreshNames",
       {1, "c", "h", 2, "l", 1.0, 2.0, units(0), QStringList{"1", "2", "3", "4", "5", "6"}}},
      {"SetFreqRange", {5.0, 65.125}},
  };
  // A launch would replace the session under a running fetch; the frequency range is harmless.
  m_target.fetching = true;
  for (const auto& [method, args] : calls) {
    QString error;
    EXPECT_EQ(call(method, args, &error), method == "SetFreqRange") << method.toStdString();
    EXPECT_EQ(error.contains(Strings::LoadString(Strings::IDS_UI_AUTOMATION_BUSY)), method != "SetFreqRange");
  }
  ASSERT_EQ(callsAfter(1), std::vector<QString>{"SetFreqRange(double 5, double 65.125)"});
  m_target.calls.clear();
  m_target.fetching = false;
  for (const auto& [method, args] : calls) {
    QString error;
    ASSERT_TRUE(call(method, args, &error)) << error.toStdString();
  }
  const std::vector<QString> expected{
      "LaunchORB(int 3, QString {E1E1F603-5464-11D1-B74D-00A0C909E2DC}, QString 127.0.0.1, int 1001, "
      "QString Port 3, short 2)",
      "LaunchWithDates(int -7, QString c, QString host:50515, int -1, QString , double 45260.75, "
      "double 45260.25, short -1)",
      "LaunchORBWithThreshNames(int 1, QString c, QString h, int 2, QString l, short 0, QStringList [A|B||])",
      "LaunchWithDatesAndThreshNames(int 1, QString c, QString h, int 2, QString l, double 1, double 2, "
      "short 0, QStringList [1|2|3|4])",
      "SetFreqRange(double 5, double 65.125)",
  };
  EXPECT_EQ(callsAfter(expected.size()), expected);
}

// A second server in the same process fails and leaves the first alone.
TEST_F(AutomationTest, OwnsAPerProcessBusNameUntilStopped) {
  const QString name = m_server.busName();
  EXPECT_EQ(name, "org.veltrix.Quillon.i" + QString::number(QCoreApplication::applicationPid()));
  EXPECT_TRUE(AutomationClient::runningInstances().contains(name));
  EXPECT_TRUE(AutomationServer::isInstanceBusName("org.veltrix.Quillon.i42"));
  for (const char* other : {"org.veltrix.Quillon.i", "org.veltrix.Quillon.ix42", "org.veltrix.Quillon.i42.x",
                            "org.veltrix.Quillon", ":1.42"})
    EXPECT_FALSE(AutomationServer::isInstanceBusName(QLatin1String(other))) << other;

  RecordingTarget other;
  QString error;
  EXPECT_FALSE(AutomationServer().start(other, &error));
  EXPECT_TRUE(error.contains("/Document")) << error.toStdString();
  ASSERT_TRUE(call("SetFreqRange", {3.0, 4.0}, &error)) << error.toStdString();
  EXPECT_EQ(callsAfter(1), std::vector<QString>{"SetFreqRange(double 3, double 4)"});
  EXPECT_TRUE(other.calls.empty());

  m_server.stop();
  EXPECT_TRUE(!m_server.isRunning() && m_server.busName().isEmpty());
  EXPECT_FALSE(AutomationClient::runningInstances().contains(name));
  EXPECT_FALSE(AutomationClient::call(name, "SetFreqRange", {1.0, 2.0}, &error));
  EXPECT_TRUE(error.contains(name)) << error.toStdString();
  ASSERT_TRUE(m_server.start(m_target, &error)) << error.toStdString();
  EXPECT_TRUE(call("SetFreqRange", {1.0, 2.0}));
}

class LauncherScriptTest : public AutomationTest {
protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
      GTEST_SKIP() << "gdbus is not installed (libglib2.0-bin)";
    ASSERT_TRUE(QFileInfo::exists(script()));
    AutomationTest::SetUp();
  }
  static QString script() { return QStringLiteral(QUILLON_SCRIPTS_DIR "/quillon-call.sh"); }
};

// The launch itself sits in a modal dialog as long as the user likes; the
// launcher's call must be answered before. Without --dest the only instance is called.
TEST_F(LauncherScriptTest, ListsTheInstanceAndIsAnsweredWhileTheLaunchStillRuns) {
  QProcess list;
  list.start("bash", {script(), "list"});
  ASSERT_TRUE(finish(list));
  EXPECT_EQ(list.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(list.readAllStandardOutput()).split('\n').contains(m_server.busName()));

  QProcess launcher;
  bool launcherDoneDuringLaunch = false;
  m_target.duringLaunch = [&] { launcherDoneDuringLaunch = finish(launcher); };
  launcher.start("bash", {script(), "LaunchORBWithThreshNames", "3", kDataServerClass, "127.0.0.1", "1001",
                          "Port 3", "0", "['Low', 'High']"});
  ASSERT_TRUE(finish(launcher));
  EXPECT_EQ(launcher.exitCode(), 0) << launcher.readAllStandardError().toStdString();
  EXPECT_EQ(callsAfter(1),
            std::vector<QString>{
                "LaunchORBWithThreshNames(int 3, QString {E1E1F603-5464-11D1-B74D-00A0C909E2DC}, "
                "QString 127.0.0.1, int 1001, QString Port 3, short 0, QStringList [Low|High||])"});
  EXPECT_TRUE(launcherDoneDuringLaunch);
}

[[noreturn]] void startAndCallWithoutBus() {
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quillon-test-bus");
  RecordingTarget target;
  AutomationServer server;
  QString startError, callError;
  const bool started = server.start(target, &startError);
  const bool called =
      AutomationClient::call(AutomationServer::busNameFor(1), "SetFreqRange", {1.0, 2.0}, &callError);
  std::fprintf(stderr, "start: %s\ncall: %s\n", qPrintable(startError), qPrintable(callError));
  std::fflush(stderr);
  const QString phrase = QStringLiteral("there is no D-Bus session bus");
  const bool clear = startError.contains(phrase) && callError.contains(phrase);
  std::_Exit(!started && !called && clear && !server.isRunning() ? 0 : 1);
}

// Server and client fail with a message a user can act on. In a child process:
// this process's session bus connection is made once and cannot be taken away.
TEST(AutomationWithoutBusDeathTest, StartAndCallFailWithAClearMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(startAndCallWithoutBus(), ::testing::ExitedWithCode(0),
              "start: Automation is not available: there is no D-Bus session bus");
}

}  // namespace
