#include <gtest/gtest.h>

#include "app/AutomationClient.h"
#include "app/AutomationServer.h"
#include "app/IAutomationTarget.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include "resources/Strings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace {

const QString kDataServerClass = QStringLiteral("{E1E1F603-5464-11D1-B74D-00A0C909E2DC}");

// One argument as "type value", so a swapped or retyped argument shows in the
// failure message.
QString describe(const QVariant& v) {
  QString value;
  if (v.metaType().id() == QMetaType::QStringList)
    value = QLatin1Char('[') + v.toStringList().join(QLatin1Char('|')) + QLatin1Char(']');
  else if (v.metaType().id() == QMetaType::Double)
    value = QString::number(v.toDouble(), 'g', 17);
  else
    value = v.toString();
  return QLatin1String(v.typeName()) + QLatin1Char(' ') + value;
}

class RecordingTarget : public IAutomationTarget {
public:
  std::vector<QString> calls;
  // Runs inside LaunchORB, where the real launch would sit in a modal dialog.
  std::function<void()> duringLaunch;

  void LaunchORB(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                 const QString& label, int16_t levelUnits) override {
    record("LaunchORB", {node, serverClass, host, token, label, QVariant::fromValue(levelUnits)});
    if (duringLaunch) duringLaunch();
  }
  void LaunchWithDates(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                       const QString& label, double start, double end, int16_t levelUnits) override {
    record("LaunchWithDates",
           {node, serverClass, host, token, label, start, end, QVariant::fromValue(levelUnits)});
  }
  void LaunchORBWithThreshNames(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                                const QString& label, int16_t levelUnits, const QStringList& names) override {
    record("LaunchORBWithThreshNames",
           {node, serverClass, host, token, label, QVariant::fromValue(levelUnits), names});
  }
  void LaunchWithDatesAndThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                     int32_t token, const QString& label, double start, double end,
                                     int16_t levelUnits, const QStringList& names) override {
    record("LaunchWithDatesAndThreshNames",
           {node, serverClass, host, token, label, start, end, QVariant::fromValue(levelUnits), names});
  }
  void SetFreqRange(double low, double high) override { record("SetFreqRange", {low, high}); }
  bool isFetching() const override { return fetching; }
  bool fetching = false;

private:
  void record(const char* method, const QVariantList& args) {
    QStringList parts;
    for (const QVariant& a : args) parts.append(describe(a));
    calls.push_back(QLatin1String(method) + QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')'));
  }
};

QVariant units(int16_t code) { return QVariant::fromValue(code); }

class AutomationTest : public ::testing::Test {
protected:
  void SetUp() override {
    QString error;
    ASSERT_TRUE(m_server.start(m_target, &error)) << error.toStdString();
  }

  bool call(const QString& method, const QVariantList& args, QString* error = nullptr) {
    return AutomationClient::call(m_server.busName(), method, args, error);
  }

  // The calls the target has seen once `count` of them arrived (or time ran out).
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

TEST_F(AutomationTest, OwnsAPerProcessBusNameThatIsListed) {
  EXPECT_EQ(m_server.busName(),
            QStringLiteral("org.veltrix.Quillon.i") + QString::number(QCoreApplication::applicationPid()));
  EXPECT_TRUE(AutomationClient::runningInstances().contains(m_server.busName()));

  EXPECT_TRUE(AutomationServer::isInstanceBusName(QStringLiteral("org.veltrix.Quillon.i42")));
  for (const char* other : {"org.veltrix.Quillon.i", "org.veltrix.Quillon.ix42", "org.veltrix.Quillon.i42.x",
                            "org.veltrix.Quillon", ":1.42"})
    EXPECT_FALSE(AutomationServer::isInstanceBusName(QLatin1String(other))) << other;
}

// Launchers are written against these exact signatures; a widened slot
// parameter (an int for the level units) would break every one of them.
TEST_F(AutomationTest, ExportsExactlyTheFiveMethodsWithTheirSignatures) {
  QDBusConnection probe =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("automation-test-probe"));
  QDBusMessage msg = QDBusMessage::createMethodCall(m_server.busName(), QStringLiteral("/Document"),
                                                    QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                    QStringLiteral("Introspect"));
  const QDBusMessage reply = probe.call(msg, QDBus::BlockWithGui);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();

  std::map<QString, QString> signatures;  // method -> in-argument types
  std::map<QString, int> outArgs;
  QXmlStreamReader xml(reply.arguments().value(0).toString());
  QString interface, method;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    const auto attrs = xml.attributes();
    if (xml.name() == QLatin1String("interface")) interface = attrs.value(QLatin1String("name")).toString();
    if (interface != QLatin1String("QuillonView.Document")) continue;
    if (xml.name() == QLatin1String("method")) {
      method = attrs.value(QLatin1String("name")).toString();
      signatures[method];
    } else if (xml.name() == QLatin1String("arg")) {
      if (attrs.value(QLatin1String("direction")) == QLatin1String("out"))
        ++outArgs[method];
      else
        signatures[method] += attrs.value(QLatin1String("type")).toString();
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

  const std::map<QString, QString> expected{
      {QStringLiteral("LaunchORB"), QStringLiteral("issisn")},
      {QStringLiteral("LaunchWithDates"), QStringLiteral("issisddn")},
      {QStringLiteral("LaunchORBWithThreshNames"), QStringLiteral("issisnas")},
      {QStringLiteral("LaunchWithDatesAndThreshNames"), QStringLiteral("issisddnas")},
      {QStringLiteral("SetFreqRange"), QStringLiteral("dd")},
  };
  EXPECT_EQ(signatures, expected);
  EXPECT_TRUE(outArgs.empty());
}

// A launch would replace the session under the running fetch: the caller is
// told so, and nothing reaches the program.
TEST_F(AutomationTest, LaunchesAreRefusedWhileAFetchRuns) {
  m_target.fetching = true;
  const QStringList names{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
  const std::vector<std::pair<QString, QVariantList>> launches{
      {QStringLiteral("LaunchORB"), {3, kDataServerClass, QStringLiteral("h"), 1001, QStringLiteral("P"), units(0)}},
      {QStringLiteral("LaunchWithDates"),
       {3, kDataServerClass, QStringLiteral("h"), 1001, QStringLiteral("P"), 1.0, 2.0, units(0)}},
      {QStringLiteral("LaunchORBWithThreshNames"),
       {3, kDataServerClass, QStringLiteral("h"), 1001, QStringLiteral("P"), units(0), names}},
      {QStringLiteral("LaunchWithDatesAndThreshNames"),
       {3, kDataServerClass, QStringLiteral("h"), 1001, QStringLiteral("P"), 1.0, 2.0, units(0), names}},
  };
  for (const auto& [method, args] : launches) {
    QString error;
    EXPECT_FALSE(call(method, args, &error)) << method.toStdString();
    EXPECT_TRUE(error.contains(Strings::LoadString(Strings::IDS_UI_AUTOMATION_BUSY))) << error.toStdString();
  }
  ASSERT_TRUE(call(QStringLiteral("SetFreqRange"), {5.0, 860.0}));  // harmless during a fetch
  m_target.fetching = false;
  ASSERT_TRUE(call(launches[0].first, launches[0].second));
  const auto calls = callsAfter(2);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_TRUE(calls[0].startsWith(QLatin1String("SetFreqRange")));
  EXPECT_TRUE(calls[1].startsWith(QLatin1String("LaunchORB")));
}

TEST_F(AutomationTest, EachMethodReachesTheTargetInOrderWithItsArguments) {
  QString error;
  ASSERT_TRUE(call(QStringLiteral("LaunchORB"),
                   {3, kDataServerClass, QStringLiteral("127.0.0.1"), 1001, QStringLiteral("Port 3"), units(2)},
                   &error))
      << error.toStdString();
  // An end before the start is passed on as given.
  ASSERT_TRUE(call(QStringLiteral("LaunchWithDates"),
                   {-7, QStringLiteral("cls"), QStringLiteral("host:50515"), -1, QString(), 45260.75, 45260.25,
                    units(-1)},
                   &error))
      << error.toStdString();
  ASSERT_TRUE(call(QStringLiteral("LaunchORBWithThreshNames"),
                   {12, QStringLiteral("c"), QStringLiteral("h"), 77, QStringLiteral("Nord"), units(1),
                    QStringList{QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Minor"),
                                QStringLiteral("Major")}},
                   &error))
      << error.toStdString();
  ASSERT_TRUE(call(QStringLiteral("LaunchWithDatesAndThreshNames"),
                   {5, QStringLiteral("c"), QStringLiteral("h"), 2147483647, QStringLiteral("Süd"), 1.5, 2.5,
                    units(32767), QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                             QStringLiteral("d")}},
                   &error))
      << error.toStdString();
  ASSERT_TRUE(call(QStringLiteral("SetFreqRange"), {5.0, 65.125}, &error)) << error.toStdString();

  const std::vector<QString> expected{
      "LaunchORB(int 3, QString {E1E1F603-5464-11D1-B74D-00A0C909E2DC}, QString 127.0.0.1, int 1001, "
      "QString Port 3, short 2)",
      "LaunchWithDates(int -7, QString cls, QString host:50515, int -1, QString , double 45260.75, "
      "double 45260.25, short -1)",
      "LaunchORBWithThreshNames(int 12, QString c, QString h, int 77, QString Nord, short 1, "
      "QStringList [Low|High|Minor|Major])",
      "LaunchWithDatesAndThreshNames(int 5, QString c, QString h, int 2147483647, QString Süd, double 1.5, "
      "double 2.5, short 32767, QStringList [a|b|c|d])",
      "SetFreqRange(double 5, double 65.125)",
  };
  EXPECT_EQ(callsAfter(expected.size()), expected);
}

TEST_F(AutomationTest, ThresholdNamesArePaddedOrCutToFour) {
  auto withNames = [](const QStringList& names) {
    return QVariantList{1, QStringLiteral("c"), QStringLiteral("h"), 2, QStringLiteral("l"), units(0), names};
  };
  auto withDatesAndNames = [](const QStringList& names) {
    return QVariantList{1, QStringLiteral("c"), QStringLiteral("h"), 2, QStringLiteral("l"), 1.0, 2.0,
                        units(0), names};
  };
  const QString orb = QStringLiteral("LaunchORBWithThreshNames");
  const QString dated = QStringLiteral("LaunchWithDatesAndThreshNames");
  ASSERT_TRUE(call(orb, withNames({})));
  ASSERT_TRUE(call(orb, withNames({QStringLiteral("A"), QStringLiteral("B")})));
  ASSERT_TRUE(call(dated, withDatesAndNames({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})));
  ASSERT_TRUE(call(dated, withDatesAndNames({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                             QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")})));

  const std::vector<QString> calls = callsAfter(4);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_TRUE(calls[0].endsWith(QLatin1String("QStringList [|||])"))) << calls[0].toStdString();
  EXPECT_TRUE(calls[1].endsWith(QLatin1String("QStringList [A|B||])"))) << calls[1].toStdString();
  EXPECT_TRUE(calls[2].endsWith(QLatin1String("QStringList [A|B|C|])"))) << calls[2].toStdString();
  EXPECT_TRUE(calls[3].endsWith(QLatin1String("QStringList [1|2|3|4])"))) << calls[3].toStdString();
}

TEST_F(AutomationTest, MalformedCallsAnswerAnErrorAndReachNothing) {
  struct Bad {
    const char* why;
    QString method;
    QVariantList args;
  };
  const std::vector<Bad> bad{
      {"unknown method", QStringLiteral("LaunchNothing"), {}},
      {"units as int32", QStringLiteral("LaunchORB"),
       {3, kDataServerClass, QStringLiteral("h"), 1, QStringLiteral("l"), 0}},
      {"node as text", QStringLiteral("LaunchORB"),
       {QStringLiteral("3"), kDataServerClass, QStringLiteral("h"), 1, QStringLiteral("l"), units(0)}},
      {"names missing", QStringLiteral("LaunchORBWithThreshNames"),
       {3, kDataServerClass, QStringLiteral("h"), 1, QStringLiteral("l"), units(0)}},
      {"names as one text", QStringLiteral("LaunchORBWithThreshNames"),
       {3, kDataServerClass, QStringLiteral("h"), 1, QStringLiteral("l"), units(0), QStringLiteral("A")}},
      {"dates as text", QStringLiteral("LaunchWithDates"),
       {3, kDataServerClass, QStringLiteral("h"), 1, QStringLiteral("l"), QStringLiteral("2023-11-30"),
        QStringLiteral("2023-12-01"), units(0)}},
      {"one frequency", QStringLiteral("SetFreqRange"), {5.0}},
  };
  for (const Bad& b : bad) {
    QString error;
    EXPECT_FALSE(call(b.method, b.args, &error)) << b.why;
    EXPECT_TRUE(error.contains(b.method)) << b.why << ": " << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("org.freedesktop.DBus.Error"))) << b.why << ": " << error.toStdString();
  }

  // Calls are delivered in order, so once this one arrives none of the bad
  // ones can still be on its way.
  ASSERT_TRUE(call(QStringLiteral("SetFreqRange"), {1.0, 2.0}));
  EXPECT_EQ(callsAfter(1), std::vector<QString>{"SetFreqRange(double 1, double 2)"});
}

TEST_F(AutomationTest, StopReleasesTheNameAndTheObject) {
  const QString name = m_server.busName();
  m_server.stop();
  EXPECT_FALSE(m_server.isRunning());
  EXPECT_TRUE(m_server.busName().isEmpty());
  EXPECT_FALSE(AutomationClient::runningInstances().contains(name));
  QString gone;
  EXPECT_FALSE(AutomationClient::call(name, QStringLiteral("SetFreqRange"), {1.0, 2.0}, &gone));
  EXPECT_TRUE(gone.contains(name)) << gone.toStdString();

  QString error;
  ASSERT_TRUE(m_server.start(m_target, &error)) << error.toStdString();
  EXPECT_EQ(m_server.busName(), name);
  EXPECT_TRUE(call(QStringLiteral("SetFreqRange"), {1.0, 2.0}));
}

TEST_F(AutomationTest, ASecondServerInTheSameProcessFailsAndLeavesTheFirstAlone) {
  RecordingTarget other;
  QString error;
  {
    AutomationServer second;
    EXPECT_FALSE(second.start(other, &error));
    EXPECT_FALSE(second.isRunning());
  }
  EXPECT_TRUE(error.contains(QLatin1String("/Document"))) << error.toStdString();

  ASSERT_TRUE(call(QStringLiteral("SetFreqRange"), {3.0, 4.0}, &error)) << error.toStdString();
  EXPECT_EQ(callsAfter(1), std::vector<QString>{"SetFreqRange(double 3, double 4)"});
  EXPECT_TRUE(other.calls.empty());
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

// The launch itself sits in a modal dialog for as long as the user likes; the
// launcher's call must be answered long before that.
TEST_F(LauncherScriptTest, LauncherIsAnsweredWhileTheLaunchStillRuns) {
  QProcess launcher;
  bool launcherDoneDuringLaunch = false;
  m_target.duringLaunch = [&] { launcherDoneDuringLaunch = finish(launcher); };

  launcher.start(QStringLiteral("bash"),
                 {script(), QStringLiteral("--dest"), m_server.busName(), QStringLiteral("LaunchORB"),
                  QStringLiteral("3"), kDataServerClass, QStringLiteral("127.0.0.1"), QStringLiteral("1001"),
                  QStringLiteral("Port 3"), QStringLiteral("0")});
  ASSERT_TRUE(finish(launcher));
  EXPECT_EQ(launcher.exitCode(), 0) << launcher.readAllStandardError().toStdString();

  EXPECT_EQ(callsAfter(1), std::vector<QString>{"LaunchORB(int 3, QString {E1E1F603-5464-11D1-B74D-00A0C909E2DC}, "
                                                "QString 127.0.0.1, int 1001, QString Port 3, short 0)"});
  EXPECT_TRUE(launcherDoneDuringLaunch);
}

TEST_F(LauncherScriptTest, ListsAndFindsTheRunningInstance) {
  QProcess list;
  list.start(QStringLiteral("bash"), {script(), QStringLiteral("list")});
  ASSERT_TRUE(finish(list));
  EXPECT_EQ(list.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n')).contains(m_server.busName()));

  // With no --dest the only instance on the bus is the one called.
  QProcess call;
  call.start(QStringLiteral("bash"), {script(), QStringLiteral("LaunchORBWithThreshNames"), QStringLiteral("4"),
                                      QStringLiteral("c"), QStringLiteral("h"), QStringLiteral("5"),
                                      QStringLiteral("l"), QStringLiteral("1"), QStringLiteral("['Low', 'High']")});
  ASSERT_TRUE(finish(call));
  EXPECT_EQ(call.exitCode(), 0) << call.readAllStandardError().toStdString();
  EXPECT_EQ(callsAfter(1), std::vector<QString>{"LaunchORBWithThreshNames(int 4, QString c, QString h, int 5, "
                                                "QString l, short 1, QStringList [Low|High||])"});
}

// Restores an environment variable when the test ends.
class EnvGuard {
public:
  explicit EnvGuard(const char* name) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {}
  ~EnvGuard() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
  const char* m_name;
  bool m_had;
  QByteArray m_old;
};

// Exits 0 when both the server and the client fail with the message a user
// can act on.
[[noreturn]] void startAndCallWithoutBus() {
  RecordingTarget target;
  AutomationServer server;
  QString startError, callError;
  const bool started = server.start(target, &startError);
  const bool called =
      AutomationClient::call(AutomationServer::busNameFor(1), QStringLiteral("SetFreqRange"), {1.0, 2.0}, &callError);
  std::fprintf(stderr, "start: %s\ncall: %s\n", qPrintable(startError), qPrintable(callError));
  std::fflush(stderr);
  const QString phrase = QStringLiteral("there is no D-Bus session bus");
  const bool clear = startError.contains(phrase) && callError.contains(phrase);
  std::_Exit(!started && !called && clear && !server.isRunning() ? 0 : 1);
}

// Runs in a child process: this process's session bus connection is made once
// and cannot be taken away.
TEST(AutomationWithoutBusDeathTest, StartAndCallFailWithAClearMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EnvGuard guard("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quillon-test-bus");
  EXPECT_EXIT(startAndCallWithoutBus(), ::testing::ExitedWithCode(0),
              "start: Automation is not available: there is no D-Bus session bus");
}

}  // namespace
