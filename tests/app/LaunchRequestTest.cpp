#include <gtest/gtest.h>

#include <QStringList>
#include <array>

#include "app/CCommandLineInfoWav.h"
#include "app/LaunchRequest.h"
#include "support/QtPrinters.h"

namespace {

const CNBDateTime kStart = CNBDateTime::FromSeconds(1700000000);  // 2023-11-14 22:13:20 UTC
const CNBDateTime kStop = CNBDateTime::FromSeconds(1700003600);

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
      {{"/TIMESTART:1700000000", "/TIMESTOP:1700003600", "/QUERY:3"},
       [](GraphQuery& q) {
         q.start = kStart;
         q.end = kStop;
         q.graphType = TwentyFourHour;
       },
       true,
       true,
       true},
      {{"/UPTOTHESEC:0"}, nullptr, false, false, false},
      {{"/UPTOTHESEC:-5"}, nullptr, true, false, false},
      {{"/SFTWFREQ:12.5", "/INC:2", "/STAT:5", "/QUERY:1"},
       [](GraphQuery& q) {
         q.graphType = OneFreqTimeWindow;
         q.frequency = 12.5;
         q.increment = Increment::k1Day;
         q.statistics = {1, 0, 1, 0, 0, 0, 0};
       },
       true,
       false,
       false},
      {{"/SFTWFREQ:0", "/STAT:0", "/QUERY:x"},
       [](GraphQuery& q) {
         q.frequency = 0.0;
         q.statistics = {0, 0, 0, 0, 0, 0, 0};
       },
       true,
       false,
       false},
      {{"/SFTWFREQ:-1", "/STAT:-1", "/INC:-1"}, nullptr, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    GraphQuery query, expected;
    if (c.edit) c.edit(expected);
    bool tick = true, datesSupplied = false;
    const CNBDateTime before = CNBDateTime::FromSeconds(42);
    CNBDateTime launchStart = before;
    LaunchRequest::Apply(CCommandLineInfoWav::parse(QStringList{"quillon"} + c.words).launchParameters(),
                         query, tick, launchStart, datesSupplied);
    EXPECT_EQ(query, expected);
    EXPECT_EQ(tick, c.tick);
    EXPECT_EQ(launchStart, c.launchStartSet ? kStart : before);
    EXPECT_EQ(datesSupplied, c.datesSupplied);
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
  const QString cls = QStringLiteral("{11111111-2222-3333-4444-555555555555}");
  const std::pair<QStringList, AutomationCall> cases[] = {
      {{"LaunchORB", "node=3", "class=" + cls, "host=127.0.0.1", "token=1001", "label=Port 3", "units=2"},
       {.method = "LaunchORB",
        .node = 3,
        .serverClass = cls,
        .host = "127.0.0.1",
        .token = 1001,
        .label = "Port 3",
        .units = 2}},
      {{"launchorb", "Node=-4", "HOST=h:5", "token=7", "label=a=b"},
       {.method = "LaunchORB", .node = -4, .host = "h:5", .token = 7, .label = "a=b"}},
      {{"LaunchWithDates", "node=1", "host=h", "token=2", "start=2026-11-30T12:00:00Z",
        "end=2026-11-30T18:00:00Z"},
       {.method = "LaunchWithDates", .node = 1, .host = "h", .token = 2, .start = 46356.5, .end = 46356.75}},
      // End left out; the offset counts, and (in Berlin) a zoneless time is UTC.
      {{"LaunchWithDates", "node=1", "host=h", "token=2", "start=2026-11-30T12:00:00+06:00"},
       {.method = "LaunchWithDates", .node = 1, .host = "h", .token = 2, .start = 46356.25, .end = 46356.25}},
      {{"LaunchWithDates", "node=1", "host=h", "token=2", "start=2026-11-30T12:00:00", "end=1700006400"},
       {.method = "LaunchWithDates", .node = 1, .host = "h", .token = 2, .start = 46356.5, .end = 45245.0}},
      {{"LaunchWithDatesAndThreshNames", "node=1", "host=h", "token=2", "start=1700006400",
        "names=High,,Low,Floor"},
       {.method = "LaunchWithDatesAndThreshNames",
        .node = 1,
        .host = "h",
        .token = 2,
        .start = 45245.0,
        .end = 45245.0,
        .names = {"High", "", "Low", "Floor"}}},
      {{"LaunchORBWithThreshNames", "node=1", "host=h", "token=2", "names="},
       {.method = "LaunchORBWithThreshNames", .node = 1, .host = "h", .token = 2}},
      {{"SetFreqRange", "low=5", "high=42.5"}, {.method = "SetFreqRange", .low = 5.0, .high = 42.5}},
  };
  for (const auto& [args, expected] : cases) {
    QString error;
    const std::optional<AutomationCall> call = AutomationCall::parseLaunch(args, &error);
    ASSERT_TRUE(call) << error.toStdString();
    EXPECT_TRUE(*call == expected) << args.join(' ').toStdString() << ": " << call->start << " " << call->end;
  }
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
