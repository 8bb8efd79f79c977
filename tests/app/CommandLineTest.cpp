#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <limits>

#include "app/BuildInfo.h"
#include "app/CCommandLineInfoWav.h"
#include "app/LaunchRequest.h"
#include "support/QtPrinters.h"

namespace {

CCommandLineInfoWav parseWords(const QStringList& words) {
  return CCommandLineInfoWav::parse(QStringList{"quillon"} + words);
}

// Host and token are read, yet a trailing switch or word cancels the launch.
TEST(CommandLineTest, FillsLaunchParameters) {
  const std::tuple<QStringList, LaunchParameters, bool> cases[] = {
      {{}, {}, false},
      {{"/IP:127.0.0.1", "/TOKEN:1001"}, {.serverHost = "127.0.0.1", .token = 1001}, true},
      {{"/NODE:3", "/LABEL:Port 3", "/QUERY:2"}, {.label = "Port 3", .node = 3, .graphType = 2}, true},
      {{"-TIMESTART:1700000000", "-TIMESTOP:1700003600"},
       {.startTime = 1700000000, .stopTime = 1700003600},
       true},
      {{"-UPTOTHESEC:1", "-SFTWFREQ:12.5"}, {.upToTheSecond = 1, .frequency = 12.5}, true},
      {{"-STAT:5", "-INC:2"}, {.statistics = 5, .increment = 2}, true},
      {{"/IP:srv", "/TOKEN:5", "/Automation"}, {.serverHost = "srv", .token = 5}, false},
      {{"/Automation", "/TOKEN:5"}, {.token = 5}, true},
      {{"/TOKEN:12:34", "/LABEL:Rack 2: Port 3"}, {.token = 12, .label = "Rack 2: Port 3"}, true},
      {{"/token:5"}, {}, true},
      {{"/USER:bob", "/PW:x", "/UD:.", "/ TOKEN:5"}, {}, true},
      {{"/QUERY:x"}, {.graphType = 0}, true},
      {{"TOKEN:5", "--NODE:7"}, {.token = 5, .node = 7}, true},
      {{"/TOKEN:5", "file.txt"}, {.token = 5}, false},
      {{"//TOKEN:5"}, {}, true},
  };
  for (auto [words, expected, launched] : cases) {
    const LaunchParameters p = parseWords(words).launchParameters();
    expected.launchedWithParameters = launched;
    EXPECT_TRUE(p == expected) << words.join(' ').toStdString();
  }
}

// atol / atof as launchers' values have always been read; "\xd9\xa3" is a non-ASCII digit.
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
    const bool on[] = {info.registerServer(), info.unregisterServer(), info.runAutomated(),
                       info.runEmbedded(), info.helpRequested()};
    QString set;
    for (int i = 0; i < 5; ++i)
      if (on[i]) set += QStringLiteral("RUAEH")[i];
    EXPECT_EQ(set, QLatin1String(flags)) << word;
    EXPECT_FALSE(info.launchParameters().launchedWithParameters) << word;
  }
}

// Printed before any window: only usage and version, never for a word handed to a launch.
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
    EXPECT_TRUE(info.launchRequested() == c.requested && info.launchArguments() == c.launchArguments &&
                info.launchParameters().launchedWithParameters == c.launched)
        << c.words.join(' ').toStdString();
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

const CNBDateTime kStart = CNBDateTime::FromSeconds(1700000000);  // 2023-11-14 22:13:20 UTC
const CNBDateTime kStop = CNBDateTime::FromSeconds(1700003600);

void datesThen24Hour(GraphQuery& q) {
  q.start = kStart;
  q.end = kStop;
  q.graphType = TwentyFourHour;
}

// The request as a pre-fill should leave it, from a reset one.
TEST(LaunchRequestTest, PrefillAppliesGivenParametersOnly) {
  const struct {
    QStringList words;
    void (*edit)(GraphQuery&);
    bool tick;  // starts out ticked, so a given 0 shows
    bool launchStartSet, datesSupplied;
  } cases[] = {
      {{"/TOKEN:1"}, nullptr, true, false, false},
      {{"/TIMESTART:1700000000"}, [](GraphQuery& q) { q.start = kStart; }, true, true, false},
      {{"/TIMESTOP:1700003600"}, [](GraphQuery& q) { q.end = kStop; }, true, false, false},
      // The type comes after the dates, so they land in the shared window.
      {{"/TIMESTART:1700000000", "/TIMESTOP:1700003600", "/QUERY:3"}, datesThen24Hour, true, true, true},
      {{"/UPTOTHESEC:0"}, nullptr, false, false, false},
      {{"/UPTOTHESEC:-5"}, nullptr, true, false, false},
      {{"/INC:2"}, [](GraphQuery& q) { q.increment = Increment::k1Day; }, true, false, false},
      {{"/QUERY:1"}, [](GraphQuery& q) { q.graphType = OneFreqTimeWindow; }, true, false, false},
      {{"/SFTWFREQ:0"}, [](GraphQuery& q) { q.frequency = 0.0; }, true, false, false},
      {{"/STAT:0"}, [](GraphQuery& q) { q.statistics = {0, 0, 0, 0, 0, 0, 0}; }, true, false, false},
      {{"/SFTWFREQ:-1", "/STAT:-1", "/INC:-1"}, nullptr, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    GraphQuery query, expected;
    if (c.edit) c.edit(expected);
    bool tick = true, datesSupplied = false;
    CNBDateTime launchStart = CNBDateTime::FromSeconds(42);
    LaunchRequest::Apply(parseWords(c.words).launchParameters(), query, tick, launchStart, datesSupplied);
    EXPECT_EQ(query, expected);
    EXPECT_EQ(std::tuple(tick, launchStart, datesSupplied),
              std::tuple(c.tick, c.launchStartSet ? kStart : CNBDateTime::FromSeconds(42), c.datesSupplied));
  }
}

TEST(LaunchRequestTest, StatisticsMaskWritesAllSevenAndResetKeepsTheNode) {
  const std::pair<int32_t, std::array<int32_t, Statistic::kCount>> masks[] = {
      {0, {0, 0, 0, 0, 0, 0, 0}},  {127, {1, 1, 1, 1, 1, 1, 1}}, {5, {1, 0, 1, 0, 0, 0, 0}},
      {64, {0, 0, 0, 0, 0, 0, 1}}, {128, {0, 0, 0, 0, 0, 0, 0}}, {-2, {0, 1, 1, 1, 1, 1, 1}}};
  for (const auto& [mask, expected] : masks) {
    GraphQuery query;
    query.statistics = {1, 1, 0, 1, 0, 1, 0};  // clear bits must switch these off
    ApplyStatisticsMask(mask, query);
    EXPECT_EQ(query.statistics, expected) << mask;
  }
  LaunchParameters p{
      .serverHost = "h", .token = 1, .node = 9, .startTime = 2, .launchedWithParameters = true};
  p.reset();
  EXPECT_TRUE(p == LaunchParameters{.node = 9});
}

// Launcher mode. Date values are days since 1899-12-30 00:00 UTC, worked out
// by hand; the chosen times are exact in binary.
TEST(LaunchRequestTest, ParseLaunchReadsEachMethod) {
  const auto parse = [](const QStringList& args) {
    QString error;
    const std::optional<AutomationCall> call = AutomationCall::parseLaunch(args, &error);
    EXPECT_TRUE(call) << error.toStdString();
    return call.value_or(AutomationCall{});
  };
  // End left out; the offset counts, and (in Berlin) a zoneless time is UTC.
  const QStringList dates{"LaunchWithDates", "node=1", "host=h", "token=2"};
  const auto dated = [](double start, double end) {
    return AutomationCall{
        .method = "LaunchWithDates", .node = 1, .host = "h", .token = 2, .start = start, .end = end};
  };
  const std::pair<QStringList, AutomationCall> calls[] = {
      {{"launchorb", "Node=-4", "class=c", "HOST=h", "token=7", "units=2"},
       {.method = "LaunchORB", .node = -4, .serverClass = "c", .host = "h", .token = 7, .units = 2}},
      {{"LaunchORB", "node=1", "host=h:5", "token=2", "label=a=b"},
       {.method = "LaunchORB", .node = 1, .host = "h:5", .token = 2, .label = "a=b"}},
      {{"SetFreqRange", "low=5", "high=42.5"}, {.method = "SetFreqRange", .low = 5.0, .high = 42.5}},
      {dates + QStringList{"start=2026-11-30T12:00:00Z", "end=2026-11-30T18:00:00Z"},
       dated(46356.5, 46356.75)},
      {dates + QStringList{"start=2026-11-30T12:00:00+06:00"}, dated(46356.25, 46356.25)},
      {dates + QStringList{"start=2026-11-30T12:00:00", "end=1700006400"}, dated(46356.5, 45245.0)},
  };
  for (const auto& [args, expected] : calls)
    EXPECT_TRUE(parse(args) == expected) << args.join(' ').toStdString();
  EXPECT_EQ(parse({"LaunchWithDatesAndThreshNames", "node=1", "host=h", "token=2", "start=1700006400",
                   "names=High,,Low,Floor"})
                .names,
            QStringList({"High", "", "Low", "Floor"}));
  EXPECT_EQ(parse({"LaunchORBWithThreshNames", "node=1", "host=h", "token=2", "names="}).names,
            QStringList());
}

TEST(LaunchRequestTest, ParseLaunchRefusesWithAMessageNamingTheMistake) {
  const QStringList orb{"LaunchORB", "node=3", "host=h", "token=1"};
  const QStringList dates{"LaunchWithDates", "node=3", "host=h", "token=1"};
  const std::pair<QStringList, const char*> cases[] = {
      {{}, "LaunchORB"},
      {{"Launch", "node=3"}, "\"Launch\""},
      {orb + QStringList{"units"}, "\"units\""},
      {orb + QStringList{"colour=red"}, "colour"},
      {orb + QStringList{"start=0"}, "start"},
      {orb + QStringList{"Token=2"}, "token="},
      {{"LaunchORB", "node=3", "host=h", "token=99999999999"}, "99999999999"},
      {orb + QStringList{"units=70000"}, "units=70000"},
      {{"LaunchORB", "node=3", "host=h"}, "token="},
      {dates, "start="},
      {dates + QStringList{"start=2026-13-01T00:00:00Z"}, "2026-13-01"},
      {dates + QStringList{"start=99999999999"}, "99999999999"},
      {QStringList{"LaunchORBWithThreshNames"} + orb.mid(1), "names="},
      {{"SetFreqRange", "low=nan", "high=1"}, "low=nan"},
      {{"SetFreqRange", "low=1"}, "high="},
  };
  for (const auto& [args, mentions] : cases) {
    QString error;
    EXPECT_FALSE(AutomationCall::parseLaunch(args, &error)) << args.join(' ').toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8(mentions))) << error.toStdString();
    EXPECT_FALSE(AutomationCall::parseLaunch(args, nullptr));
  }
}

}  // namespace
