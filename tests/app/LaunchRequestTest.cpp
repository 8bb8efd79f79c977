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
struct PrefillCase {
  const char* name;
  QStringList words;
  void (*edit)(GraphQuery&);
  bool tick;  // starts out ticked, so a given 0 shows
  bool launchStartSet;
  bool datesSupplied;
};
void PrintTo(const PrefillCase& c, std::ostream* os) {
  *os << c.name;
}

class PrefillTest : public ::testing::TestWithParam<PrefillCase> {};

TEST_P(PrefillTest, AppliesGivenParametersOnly) {
  const PrefillCase& c = GetParam();
  GraphQuery query;
  GraphQuery expected = query;
  if (c.edit) c.edit(expected);
  bool tick = true;
  const CNBDateTime before = CNBDateTime::FromSeconds(42);
  CNBDateTime launchStart = before;
  bool datesSupplied = false;
  LaunchRequest::Apply(CCommandLineInfoWav::parse(QStringList{"quillon"} + c.words).launchParameters(), query,
                       tick, launchStart, datesSupplied);
  EXPECT_EQ(query, expected);
  EXPECT_EQ(tick, c.tick);
  EXPECT_EQ(launchStart, c.launchStartSet ? kStart : before);
  EXPECT_EQ(datesSupplied, c.datesSupplied);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLineLaunch, PrefillTest,
    ::testing::Values(
        PrefillCase{"NothingGiven", {"/TOKEN:1"}, nullptr, true, false, false},
        PrefillCase{"StartWithoutStop",
                    {"/TIMESTART:1700000000"},
                    [](GraphQuery& q) { q.start = kStart; },
                    true,
                    true,
                    false},
        PrefillCase{"StopWithoutStart",
                    {"/TIMESTOP:1700003600"},
                    [](GraphQuery& q) { q.end = kStop; },
                    true,
                    false,
                    false},
        // The type comes after the dates, so they land in the shared window.
        PrefillCase{"DatesBeforeType",
                    {"/TIMESTART:1700000000", "/TIMESTOP:1700003600", "/QUERY:3"},
                    [](GraphQuery& q) {
                      q.start = kStart;
                      q.end = kStop;
                      q.graphType = TwentyFourHour;
                    },
                    true,
                    true,
                    true},
        PrefillCase{"TickOff", {"/UPTOTHESEC:0"}, nullptr, false, false, false},
        PrefillCase{"AnyOtherNumberTicks", {"/UPTOTHESEC:-5"}, nullptr, true, false, false},
        PrefillCase{"FrequencyIncrementStatistics",
                    {"/SFTWFREQ:12.5", "/INC:2", "/STAT:5", "/QUERY:1"},
                    [](GraphQuery& q) {
                      q.graphType = OneFreqTimeWindow;
                      q.frequency = 12.5;
                      q.increment = Increment::k1Day;
                      q.statistics = {1, 0, 1, 0, 0, 0, 0};
                    },
                    true,
                    false,
                    false},
        PrefillCase{"ZeroIsAValue",
                    {"/SFTWFREQ:0", "/STAT:0", "/QUERY:x"},
                    [](GraphQuery& q) {
                      q.frequency = 0.0;
                      q.statistics = {0, 0, 0, 0, 0, 0, 0};
                    },
                    true,
                    false,
                    false},
        PrefillCase{
            "MinusOneIsAbsent", {"/SFTWFREQ:-1", "/STAT:-1", "/INC:-1"}, nullptr, true, false, false}));

class StatisticsMaskTest
    : public ::testing::TestWithParam<std::pair<int32_t, std::array<int32_t, Statistic::kCount>>> {};

TEST_P(StatisticsMaskTest, WritesAllSeven) {
  GraphQuery query;
  query.statistics = {1, 1, 0, 1, 0, 1, 0};  // clear bits must switch these off
  ApplyStatisticsMask(GetParam().first, query);
  EXPECT_EQ(query.statistics, GetParam().second);
}

using Mask = std::pair<int32_t, std::array<int32_t, Statistic::kCount>>;
INSTANTIATE_TEST_SUITE_P(Bits, StatisticsMaskTest,
                         ::testing::Values(Mask{0, {0, 0, 0, 0, 0, 0, 0}}, Mask{127, {1, 1, 1, 1, 1, 1, 1}},
                                           Mask{5, {1, 0, 1, 0, 0, 0, 0}}, Mask{64, {0, 0, 0, 0, 0, 0, 1}},
                                           Mask{128, {0, 0, 0, 0, 0, 0, 0}},
                                           Mask{-2, {0, 1, 1, 1, 1, 1, 1}}));

TEST(LaunchParametersReset, KeepsNodeOnly) {
  LaunchParameters p{.serverHost = "h",
                     .token = 1,
                     .label = "l",
                     .node = 9,
                     .startTime = 2,
                     .stopTime = 3,
                     .graphType = 4,
                     .upToTheSecond = 5,
                     .frequency = 6.0,
                     .statistics = 7,
                     .increment = 1,
                     .launchedWithParameters = true};
  p.reset();
  EXPECT_TRUE(p == LaunchParameters{.node = 9});
}

// Launcher mode. Date values are days since 1899-12-30 00:00 UTC, worked out
// by hand; the chosen times are exact in binary.
struct GoodCall {
  QStringList args;
  AutomationCall expected;
};
void PrintTo(const GoodCall& c, std::ostream* os) {
  *os << c.args.join(' ').toStdString();
}

class ParseLaunchTest : public ::testing::TestWithParam<GoodCall> {};

TEST_P(ParseLaunchTest, Reads) {
  QString error;
  const std::optional<AutomationCall> call = AutomationCall::parseLaunch(GetParam().args, &error);
  ASSERT_TRUE(call) << error.toStdString();
  EXPECT_TRUE(*call == GetParam().expected) << call->start << " " << call->end;
}

INSTANTIATE_TEST_SUITE_P(
    Methods, ParseLaunchTest,
    ::testing::Values(GoodCall{{"LaunchORB", "node=3", "class={11111111-2222-3333-4444-555555555555}",
                                "host=127.0.0.1", "token=1001", "label=Port 3", "units=2"},
                               {.method = "LaunchORB",
                                .node = 3,
                                .serverClass = "{11111111-2222-3333-4444-555555555555}",
                                .host = "127.0.0.1",
                                .token = 1001,
                                .label = "Port 3",
                                .units = 2}},
                      GoodCall{{"launchorb", "Node=-4", "HOST=h:5", "token=7", "label=a=b"},
                               {.method = "LaunchORB",
                                .node = -4,
                                .serverClass = "{E1E1F603-5464-11D1-B74D-00A0C909E2DC}",
                                .host = "h:5",
                                .token = 7,
                                .label = "a=b"}},
                      GoodCall{{"LaunchWithDates", "node=1", "host=h", "token=2",
                                "start=2026-11-30T12:00:00Z", "end=2026-11-30T18:00:00Z"},
                               {.method = "LaunchWithDates",
                                .node = 1,
                                .host = "h",
                                .token = 2,
                                .start = 46356.5,
                                .end = 46356.75}},
                      // End left out; the offset counts, and (in Berlin) a zoneless time is UTC.
                      GoodCall{{"LaunchWithDates", "node=1", "host=h", "token=2",
                                "start=2026-11-30T12:00:00+06:00"},
                               {.method = "LaunchWithDates",
                                .node = 1,
                                .host = "h",
                                .token = 2,
                                .start = 46356.25,
                                .end = 46356.25}},
                      GoodCall{{"LaunchWithDates", "node=1", "host=h", "token=2", "start=2026-11-30T12:00:00",
                                "end=1700006400"},
                               {.method = "LaunchWithDates",
                                .node = 1,
                                .host = "h",
                                .token = 2,
                                .start = 46356.5,
                                .end = 45245.0}},
                      GoodCall{{"LaunchWithDatesAndThreshNames", "node=1", "host=h", "token=2",
                                "start=1700006400", "names=High,,Low,Floor"},
                               {.method = "LaunchWithDatesAndThreshNames",
                                .node = 1,
                                .host = "h",
                                .token = 2,
                                .start = 45245.0,
                                .end = 45245.0,
                                .names = {"High", "", "Low", "Floor"}}},
                      GoodCall{{"LaunchORBWithThreshNames", "node=1", "host=h", "token=2", "names="},
                               {.method = "LaunchORBWithThreshNames", .node = 1, .host = "h", .token = 2}},
                      GoodCall{{"SetFreqRange", "low=5", "high=42.5"},
                               {.method = "SetFreqRange", .low = 5.0, .high = 42.5}}));

struct BadCall {
  QStringList args;
  const char* errorMentions;  // what the message must point at
};
void PrintTo(const BadCall& c, std::ostream* os) {
  *os << c.args.join(' ').toStdString();
}

class ParseLaunchErrorTest : public ::testing::TestWithParam<BadCall> {};

TEST_P(ParseLaunchErrorTest, RefusesWithMessage) {
  QString error;
  EXPECT_FALSE(AutomationCall::parseLaunch(GetParam().args, &error));
  EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().errorMentions))) << error.toStdString();
  EXPECT_FALSE(AutomationCall::parseLaunch(GetParam().args, nullptr));
}

const QStringList kOrb{"LaunchORB", "node=3", "host=h", "token=1"};
const QStringList kDates{"LaunchWithDates", "node=3", "host=h", "token=1"};

INSTANTIATE_TEST_SUITE_P(
    Mistakes, ParseLaunchErrorTest,
    ::testing::Values(BadCall{{}, "LaunchORB"}, BadCall{{"Launch", "node=3"}, "\"Launch\""},
                      BadCall{kOrb + QStringList{"units"}, "\"units\""},
                      BadCall{kOrb + QStringList{"colour=red"}, "colour"},
                      BadCall{kOrb + QStringList{"start=0"}, "start"},
                      BadCall{kOrb + QStringList{"Token=2"}, "token="},
                      BadCall{{"LaunchORB", "node=3", "host=h", "token=99999999999"}, "99999999999"},
                      BadCall{kOrb + QStringList{"units=70000"}, "units=70000"},
                      BadCall{{"LaunchORB", "node=3", "host=h"}, "token="}, BadCall{kDates, "start="},
                      BadCall{kDates + QStringList{"start=2026-13-01T00:00:00Z"}, "2026-13-01"},
                      BadCall{kDates + QStringList{"start=99999999999"}, "99999999999"},
                      BadCall{QStringList{"LaunchORBWithThreshNames"} + kOrb.mid(1), "names="},
                      BadCall{{"SetFreqRange", "low=nan", "high=1"}, "low=nan"},
                      BadCall{{"SetFreqRange", "low=1"}, "high="}));

}  // namespace
