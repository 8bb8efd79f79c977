#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <limits>

#include "app/BuildInfo.h"
#include "app/CCommandLineInfoWav.h"
#include "app/LaunchRequest.h"
#include "support/QtPrinters.h"

namespace {

CCommandLineInfoWav parseWords(const QStringList& words) {
  return CCommandLineInfoWav::parse(QStringList{"quillon"} + words);
}

TEST(CommandLineTest, FillsLaunchParameters) {
  const std::pair<QStringList, LaunchParameters> cases[] = {
      {{}, {}},
      {{"/IP:127.0.0.1", "/TOKEN:1001", "/NODE:3", "/LABEL:Port 3", "/QUERY:2"},
       {.serverHost = "127.0.0.1",
        .token = 1001,
        .label = "Port 3",
        .node = 3,
        .graphType = 2,
        .launchedWithParameters = true}},
      {{"-TIMESTART:1700000000", "-TIMESTOP:1700003600", "-UPTOTHESEC:1", "-SFTWFREQ:12.5", "-STAT:5",
        "-INC:2"},
       {.startTime = 1700000000,
        .stopTime = 1700003600,
        .upToTheSecond = 1,
        .frequency = 12.5,
        .statistics = 5,
        .increment = 2,
        .launchedWithParameters = true}},
      // Host and token are read, yet the trailing switch cancels the launch.
      {{"/IP:srv", "/TOKEN:5", "/Automation"}, {.serverHost = "srv", .token = 5}},
      {{"/Automation", "/TOKEN:5"}, {.token = 5, .launchedWithParameters = true}},
      {{"/TOKEN:12:34", "/LABEL:Rack 2: Port 3"},
       {.token = 12, .label = "Rack 2: Port 3", .launchedWithParameters = true}},
      {{"/token:5"}, {.launchedWithParameters = true}},
      {{"/USER:bob", "/PW:x", "/UD:.", "/ TOKEN:5"}, {.launchedWithParameters = true}},
      {{"/QUERY:x"}, {.graphType = 0, .launchedWithParameters = true}},
      {{"TOKEN:5", "--NODE:7"}, {.token = 5, .node = 7, .launchedWithParameters = true}},
      {{"/TOKEN:5", "file.txt"}, {.token = 5}},
      {{"//TOKEN:5"}, {.launchedWithParameters = true}},
  };
  for (const auto& [words, expected] : cases) {
    const LaunchParameters p = parseWords(words).launchParameters();
    EXPECT_TRUE(p == expected) << words.join(' ').toStdString() << ": host " << p.serverHost.toStdString()
                               << " token " << p.token << " label " << p.label.toStdString() << " launched "
                               << p.launchedWithParameters;
  }
}

// atol / atof as launchers' values have always been read; "\xd9\xa3" is a
// non-ASCII digit.
TEST(CommandLineTest, ValuesReadTheLeadingNumber) {
  constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
  const struct {
    const char* value;
    int32_t token;
    double frequency;
  } cases[] = {{"x", 0, 0.0},
               {" \t42abc", 42, 42.0},

               {"+8", 8, 8.0},
               {"+-8", 0, 0.0},
               {"12.75", 12, 12.75},
               {"5,5", 5, 5.0},
               {"-.5e1", 0, -5.0},
               {"1.5e2MHz", 1, 150.0},

               {"0x10", 0, 0.0},
               {"inf", 0, 0.0},
               {"\xd9\xa3", 0, 0.0},
               {"99999999999", kIntMax, 99999999999.0},

               {"-99999999999", kIntMin, -99999999999.0},
               {"1e999", 1, std::numeric_limits<double>::infinity()}};
  for (const auto& c : cases) {
    const QString value = QString::fromUtf8(c.value);
    const LaunchParameters p = parseWords({"/TOKEN:" + value, "/SFTWFREQ:" + value}).launchParameters();
    EXPECT_EQ(p.token, c.token) << c.value;
    EXPECT_EQ(p.frequency, c.frequency) << c.value;
  }
}

// Each standard switch sets its own flag only, as "RAUEH" letters.
TEST(CommandLineTest, StandardSwitchesSetTheirFlagOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"/Regserver", "R"},   {"-REGSERVER", "R"},  {"regserver", "R"},   {"/Regserv", ""},
      {"/Unregserver", "U"}, {"-unregister", "U"}, {"/Automation", "A"}, {"-Embedding", "E"},
      {"--help", "H"},       {"-h", "H"},          {"/?", "H"}};
  for (const auto& [word, flags] : cases) {
    const CCommandLineInfoWav info = parseWords({QString::fromLatin1(word)});
    QString set;
    for (const auto& [on, letter] : {std::pair{info.registerServer(), 'R'},
                                     {info.unregisterServer(), 'U'},
                                     {info.runAutomated(), 'A'},
                                     {info.runEmbedded(), 'E'},
                                     {info.helpRequested(), 'H'}})
      if (on) set += QLatin1Char(letter);
    EXPECT_EQ(set, QLatin1String(flags)) << word;
    EXPECT_FALSE(info.launchParameters().launchedWithParameters) << word;
  }
}

// What the program prints and ends with before any window: only the usage
// and the version, and never for a word handed to a launch.
TEST(CommandLineTest, ConsoleAnswers) {
  const QString version = QStringLiteral("quillon %1\n").arg(BuildInfo::version());
  ASSERT_FALSE(BuildInfo::version().isEmpty());
  const std::pair<QStringList, QString> cases[] = {
      {{"--version"}, version},
      {{"/VERSION", "/TOKEN:5"}, version},
      {{"--version", "--help"}, CCommandLineInfoWav::usage()},
      {{"-h"}, CCommandLineInfoWav::usage()},
      {{"/TOKEN:5", "/Regserver"}, QString()},
      {{"--launch", "LaunchORB", "--version"}, QString()},
  };
  for (const auto& [words, answer] : cases)
    EXPECT_EQ(CCommandLineInfoWav::consoleAnswer(QStringList{"quillon"} + words), answer)
        << words.join(' ').toStdString();
  EXPECT_TRUE(CCommandLineInfoWav::usage().contains(QStringLiteral("\n  version ")));
}

TEST(CommandLineTest, LaunchHandsTheRestOver) {
  const struct {
    QStringList words;
    bool requested;
    QStringList launchArguments;
    bool launched;
  } cases[] = {
      {{"--launch"}, true, {}, false},
      {{"--launch", "LaunchORB", "/TOKEN:9", "--launch"}, true, {"LaunchORB", "/TOKEN:9", "--launch"}, false},
      {{"/TOKEN:5", "--launch", "X"}, true, {"X"}, true},
      {{"/TOKEN:5", "/Automation", "--launch", "X"}, true, {"X"}, false},
      {{"-launch", "/TOKEN:5"}, false, {}, true}};
  for (const auto& c : cases) {
    const CCommandLineInfoWav info = parseWords(c.words);
    EXPECT_EQ(info.launchRequested(), c.requested) << c.words.join(' ').toStdString();
    EXPECT_EQ(info.launchArguments(), c.launchArguments) << c.words.join(' ').toStdString();
    EXPECT_EQ(info.launchParameters().launchedWithParameters, c.launched) << c.words.join(' ').toStdString();
  }
}

// The help's example lines are what users copy; each must work as shown.
TEST(CommandLineTest, UsageExamplesParse) {
  const QRegularExpression exampleLine(QStringLiteral("^  (quillon (?:/|--launch ).*)$"),
                                       QRegularExpression::MultilineOption);
  int examples = 0;
  for (auto it = exampleLine.globalMatch(CCommandLineInfoWav::usage()); it.hasNext(); ++examples) {
    const QString line = it.next().captured(1);
    SCOPED_TRACE(line.toStdString());
    const CCommandLineInfoWav info = CCommandLineInfoWav::parse(QProcess::splitCommand(line));
    QString error;
    if (info.launchRequested())
      EXPECT_TRUE(AutomationCall::parseLaunch(info.launchArguments(), &error)) << error.toStdString();
    else
      EXPECT_EQ(info.launchParameters().label, QStringLiteral("Port 3"));
  }
  EXPECT_GE(examples, 5);
}

}  // namespace
