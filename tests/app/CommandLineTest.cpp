#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <limits>
#include <random>

#include "app/BuildInfo.h"
#include "app/CCommandLineInfoWav.h"
#include "app/LaunchRequest.h"
#include "support/QtPrinters.h"

namespace {

CCommandLineInfoWav parseWords(const QStringList& words) {
  return CCommandLineInfoWav::parse(QStringList{"quillon"} + words);
}

struct LineCase {
  const char* name;
  QStringList words;  // after the program name
  LaunchParameters expected;
};
void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, FillsLaunchParameters) {
  const LaunchParameters p = parseWords(GetParam().words).launchParameters();
  EXPECT_TRUE(p == GetParam().expected)
      << "host " << p.serverHost.toStdString() << " token " << p.token << " label " << p.label.toStdString()
      << " launched " << p.launchedWithParameters;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, CommandLineTest,
    ::testing::Values(
        LineCase{"NoParameters", {}, {}},
        LineCase{"LauncherSwitches",
                 {"/IP:127.0.0.1", "/TOKEN:1001", "/NODE:3", "/LABEL:Port 3", "/QUERY:2"},
                 {.serverHost = "127.0.0.1",
                  .token = 1001,
                  .label = "Port 3",
                  .node = 3,
                  .graphType = 2,
                  .launchedWithParameters = true}},
        LineCase{"OtherKeysWithHyphens",
                 {"-TIMESTART:1700000000", "-TIMESTOP:1700003600", "-UPTOTHESEC:1", "-SFTWFREQ:12.5",
                  "-STAT:5", "-INC:2"},
                 {.startTime = 1700000000,
                  .stopTime = 1700003600,
                  .upToTheSecond = 1,
                  .frequency = 12.5,
                  .statistics = 5,
                  .increment = 2,
                  .launchedWithParameters = true}},
        // Host and token are read, yet the trailing switch cancels the launch.
        LineCase{"TrailingSwitchClearsFlag",
                 {"/IP:srv", "/TOKEN:5", "/Automation"},
                 {.serverHost = "srv", .token = 5}},
        LineCase{
            "LastSwitchDecides", {"/Automation", "/TOKEN:5"}, {.token = 5, .launchedWithParameters = true}},
        LineCase{"ValueAfterFirstColon",
                 {"/TOKEN:12:34", "/LABEL:Rack 2: Port 3"},
                 {.token = 12, .label = "Rack 2: Port 3", .launchedWithParameters = true}},
        LineCase{"LowerCaseKeyIgnored", {"/token:5"}, {.launchedWithParameters = true}},
        LineCase{
            "UnreadKeys", {"/USER:bob", "/PW:x", "/UD:.", "/ TOKEN:5"}, {.launchedWithParameters = true}},
        LineCase{"QueryText", {"/QUERY:x"}, {.graphType = 0, .launchedWithParameters = true}},
        LineCase{
            "BareKeyValue", {"TOKEN:5", "--NODE:7"}, {.token = 5, .node = 7, .launchedWithParameters = true}},
        LineCase{"BareWordClearsFlag", {"/TOKEN:5", "file.txt"}, {.token = 5}},
        LineCase{"OneSlashStripped", {"//TOKEN:5"}, {.launchedWithParameters = true}}));

// atol / atof as launchers' values have always been read.
struct ConversionCase {
  const char* value;
  int32_t token;
  double frequency;
};
void PrintTo(const ConversionCase& c, std::ostream* os) {
  *os << c.value;
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ReadsLeadingNumber) {
  const QString value = QString::fromUtf8(GetParam().value);
  const LaunchParameters p = parseWords({"/TOKEN:" + value, "/SFTWFREQ:" + value}).launchParameters();
  EXPECT_EQ(p.token, GetParam().token);
  EXPECT_EQ(p.frequency, GetParam().frequency);
}

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(AtolAtof, ConversionTest,
                         ::testing::Values(ConversionCase{"x", 0, 0.0}, ConversionCase{"", 0, 0.0},
                                           ConversionCase{" \t42abc", 42, 42.0}, ConversionCase{"+8", 8, 8.0},
                                           ConversionCase{"+-8", 0, 0.0}, ConversionCase{"12.75", 12, 12.75},
                                           ConversionCase{"5,5", 5, 5.0}, ConversionCase{"-.5e1", 0, -5.0},
                                           ConversionCase{"1.5e2MHz", 1, 150.0},
                                           ConversionCase{"3e+", 3, 3.0}, ConversionCase{"0x10", 0, 0.0},
                                           ConversionCase{"inf", 0, 0.0},
                                           ConversionCase{"\xd9\xa3", 0, 0.0},  // a non-ASCII digit
                                           ConversionCase{"99999999999", kIntMax, 99999999999.0},
                                           ConversionCase{"-2147483648", kIntMin, -2147483648.0},
                                           ConversionCase{"-99999999999", kIntMin, -99999999999.0},
                                           ConversionCase{"1e999", 1, kInf}));

struct SwitchCase {
  const char* word;
  bool regserver, unregister, automation, embedding, help;
};
void PrintTo(const SwitchCase& c, std::ostream* os) {
  *os << c.word;
}

class StandardSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(StandardSwitchTest, SetsItsFlagOnly) {
  const SwitchCase& c = GetParam();
  const CCommandLineInfoWav info = parseWords({c.word});
  EXPECT_EQ(info.registerServer(), c.regserver);
  EXPECT_EQ(info.unregisterServer(), c.unregister);
  EXPECT_EQ(info.runAutomated(), c.automation);
  EXPECT_EQ(info.runEmbedded(), c.embedding);
  EXPECT_EQ(info.helpRequested(), c.help);
  EXPECT_FALSE(info.launchParameters().launchedWithParameters);
}

INSTANTIATE_TEST_SUITE_P(Switches, StandardSwitchTest,
                         ::testing::Values(SwitchCase{"/Regserver", true, false, false, false, false},
                                           SwitchCase{"-REGSERVER", true, false, false, false, false},
                                           SwitchCase{"regserver", true, false, false, false, false},
                                           SwitchCase{"/Regserv", false, false, false, false, false},
                                           SwitchCase{"/Unregserver", false, true, false, false, false},
                                           SwitchCase{"-unregister", false, true, false, false, false},
                                           SwitchCase{"/Automation", false, false, true, false, false},
                                           SwitchCase{"-Embedding", false, false, false, true, false},
                                           SwitchCase{"--help", false, false, false, false, true},
                                           SwitchCase{"-h", false, false, false, false, true},
                                           SwitchCase{"/?", false, false, false, false, true}));

// What the program prints and ends with before any window: only the usage
// and the version, and never for a word handed to a launch.
TEST(CommandLineTest, ConsoleAnswers) {
  const QString version = QStringLiteral("quillon %1\n").arg(BuildInfo::version());
  ASSERT_FALSE(BuildInfo::version().isEmpty());
  const struct {
    QStringList words;
    QString answer;
  } cases[] = {
      {{"--version"}, version},
      {{"/VERSION", "/TOKEN:5"}, version},
      {{"--version", "--help"}, CCommandLineInfoWav::usage()},
      {{"-h"}, CCommandLineInfoWav::usage()},
      {{"/TOKEN:5", "/Regserver"}, QString()},
      {{"--launch", "LaunchORB", "--version"}, QString()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CCommandLineInfoWav::consoleAnswer(QStringList{"quillon"} + c.words), c.answer)
        << c.words.join(' ').toStdString();
  EXPECT_TRUE(CCommandLineInfoWav::usage().contains(QStringLiteral("\n  version ")));
}

struct SplitCase {
  QStringList words;
  bool requested;
  QStringList launchArguments;
  bool launched;
};
void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.words.join(' ').toStdString();
}

class LaunchSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LaunchSplitTest, HandsTheRestOver) {
  const CCommandLineInfoWav info = parseWords(GetParam().words);
  EXPECT_EQ(info.launchRequested(), GetParam().requested);
  EXPECT_EQ(info.launchArguments(), GetParam().launchArguments);
  EXPECT_EQ(info.launchParameters().launchedWithParameters, GetParam().launched);
}

INSTANTIATE_TEST_SUITE_P(
    LauncherMode, LaunchSplitTest,
    ::testing::Values(SplitCase{{"--launch"}, true, {}, false},
                      SplitCase{{"--launch", "LaunchORB", "/TOKEN:9", "--launch"},
                                true,
                                {"LaunchORB", "/TOKEN:9", "--launch"},
                                false},
                      SplitCase{{"/TOKEN:5", "--launch", "X"}, true, {"X"}, true},
                      SplitCase{{"/TOKEN:5", "/Automation", "--launch", "X"}, true, {"X"}, false},
                      SplitCase{{"-launch", "/TOKEN:5"}, false, {}, true}));

// The help's example lines are what users copy; each must work as shown.
TEST(CommandLineUsage, ExamplesParse) {
  const QRegularExpression exampleLine(QStringLiteral("^  (quillon (?:/|--launch ).*)$"),
                                       QRegularExpression::MultilineOption);
  int examples = 0;
  for (auto it = exampleLine.globalMatch(CCommandLineInfoWav::usage()); it.hasNext(); ++examples) {
    const QString line = it.next().captured(1);
    SCOPED_TRACE(line.toStdString());
    const CCommandLineInfoWav info = CCommandLineInfoWav::parse(QProcess::splitCommand(line));
    if (info.launchRequested()) {
      QString error;
      EXPECT_TRUE(AutomationCall::parseLaunch(info.launchArguments(), &error)) << error.toStdString();
    } else {
      EXPECT_TRUE(info.launchParameters().launchedWithParameters);
      EXPECT_EQ(info.launchParameters().label, QStringLiteral("Port 3"));
    }
  }
  EXPECT_GE(examples, 5);
}

// Random command lines: no crash, and nothing set that was not given.
TEST(CommandLineFuzz, RandomLinesKeepAbsentValues) {
  const QStringList pieces{"/",    "-",        "--",       ":",           "TOKEN",    "token", "IP", "NODE",
                           "STAT", "SFTWFREQ", "QUERY",    "Regserver",   "12",       "-3",    "e9", ".",
                           " ",    "x",        "\xc3\xa9", "99999999999", "--launch", "="};
  std::mt19937 random(20240531);
  for (int line = 0; line < 3000; ++line) {
    QStringList words;
    for (int w = static_cast<int>(random() % 6); w > 0; --w) {
      QString word;
      for (int p = static_cast<int>(random() % 5); p > 0; --p) word += pieces[random() % pieces.size()];
      words.append(word);
    }
    const CCommandLineInfoWav info = parseWords(words);
    const LaunchParameters& p = info.launchParameters();
    const QStringList own = info.launchRequested() ? words.mid(0, words.indexOf("--launch")) : words;
    const auto given = [&own](const char* key) {
      return !own.filter(QRegularExpression(QStringLiteral("^(/|-|--)?%1:").arg(key))).isEmpty();
    };
    SCOPED_TRACE(words.join(QStringLiteral(" | ")).toStdString());
    EXPECT_TRUE(given("TOKEN") || p.token == -1);
    EXPECT_TRUE(given("IP") || p.serverHost.isEmpty());
    EXPECT_TRUE(given("NODE") || p.node == 0);
    EXPECT_TRUE(given("STAT") || p.statistics == -1);
    EXPECT_TRUE(given("SFTWFREQ") || p.frequency == -1.0);
    EXPECT_TRUE(given("QUERY") || p.graphType == -1);
    EXPECT_EQ(p.launchedWithParameters, !own.isEmpty() && own.last().contains(u':'));
  }
}

}  // namespace
