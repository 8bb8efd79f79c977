// Runs with TZ=Europe/Berlin.
#include "query/GraphQuery.h"
#include "query/NewGraphRules.h"
#include "query/QueryTestUtil.h"
#include "resources/Strings.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace NewGraphRules;

namespace {

TEST(NewGraphRulesTest, RoundToQuarter) {
  // Minutes and seconds past 10:00: both sides of every quarter's boundary.
  const auto ten = [](int m, int s = 0) { return utc(2024, 5, 10, 10, 0).addSecs(60 * m + s); };
  const struct {
    QDateTime in;
    bool roundSeconds;
    QDateTime out;
  } cases[] = {
      {ten(7, 59), false, ten(0)},
      {ten(7, 30), true, ten(15)},
      {ten(7, 29), true, ten(0)},
      {ten(8), false, ten(15)},
      {ten(22, 59), false, ten(15)},
      {ten(23), false, ten(30)},
      {ten(37), false, ten(30)},
      {ten(38), false, ten(45)},
      {ten(52, 59), false, ten(45)},
      {ten(53), false, ten(60)},
      {utc(2024, 12, 31, 23, 55, 0), false, utc(2025, 1, 1, 0, 0)},
      // Local clock times round the same way, across the autumn switch too.
      {local(2024, 10, 27, 1, 55), false, local(2024, 10, 27, 2, 0)},
      {local(2024, 3, 31, 1, 53), false, local(2024, 3, 31, 3, 0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(roundToQuarter(c.in, c.roundSeconds).toUTC(), c.out.toUTC())
        << c.in.toString(Qt::ISODate).toStdString() << " " << c.roundSeconds;
}

TEST(NewGraphRulesTest, QuarterStepping) {
  const struct {
    int previous, spun, expected;
  } cases[] = {
      {0, 59, 45},  {15, 14, 0},  {30, 29, 15}, {45, 44, 30},  // down
      {0, 1, 15},   {15, 16, 30}, {30, 31, 45}, {45, 46, 0},   // up, the hour is not carried
      {30, 30, 30},                                            // no change
      {15, 59, 45},                                            // 59 always means down to :45
      {7, 8, 15},   {7, 6, 0},    {52, 53, 0},  {52, 51, 45},  // typed minutes move to a quarter
  };
  for (const auto& c : cases)
    EXPECT_EQ(quarterStep(c.previous, c.spun), c.expected) << c.previous << "->" << c.spun;
}

TEST(NewGraphRulesTest, FrequencySpin) {
  const struct {
    double f;
    int delta;
    double lower, upper, expected;
  } cases[] = {
      {10.0, -1, 5.0, 65.0, 10.005},
      {10.0, 1, 5.0, 65.0, 9.995},
      // Snapped to the 0.005 grid first; half a step rounds away from zero.
      {10.0026, 0, 5.0, 65.0, 10.005},
      {-0.0075, 0, -1.0, 1.0, -0.01},
      {65.0, -1, 5.0, 65.0, 65.0},
      {5.0, 1, 5.0, 65.0, 5.0},
      // Crossed limits: the lower one wins.
      {12.0, 0, 20.0, 10.0, 20.0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(stepFrequency(c.f, c.delta, c.lower, c.upper), c.expected, 1e-9) << c.f << " " << c.delta;
}

// Windows of a given length in minutes (and seconds, as an end taken to the
// second has), ending at 12:00 plus those seconds.
GraphQuery window(int type, int minutes, int increment = Increment::k15Min, int seconds = 0) {
  GraphQuery q;
  q.graphType = type;
  q.increment = increment;
  const QDateTime end = utc(2024, 2, 20, 12, 0);
  q.SetEnd(at(end.addSecs(seconds)));
  q.SetStart(at(end.addSecs(-60LL * minutes)));
  return q;
}

TEST(NewGraphRulesTest, CountsAndLimits) {
  const struct {
    int type, minutes, increment;
    bool upToTheSecond;
    int count;
    bool passes;
    int seconds = 0;
  } cases[] = {
      // Points: 5 days 5 hours, one more quarter; hours; days.
      {1, 7500, 0, false, 500, true},
      {1, 7506, 0, true, 500, true, 59},  // seconds are dropped; 6 minutes round away
      {1, 7507, 0, false, 501, false},
      {0, 7515, 0, false, 501, false},
      {1, 30015, 1, false, 500, true},
      {1, 30060, 1, false, 501, false},
      {0, 720000, 2, false, 500, true},
      // Ribbons; up to the second adds one.
      {2, 1455, 0, false, 97, true},
      {2, 1470, 0, false, 98, false},
      {2, 1455, 0, true, 98, false},
      {2, 1447, 0, true, 97, true, 30},
      {3, 5835, 1, false, 97, true},
      {3, 5850, 1, false, 98, false},
      {2, 97 * 1440 + 60, 2, false, 97, true},
      // Days; 97 days 12 hours rounds up.
      {4, 97 * 1440, 2, false, 97, true},
      {5, 97 * 1440 + 719, 2, false, 97, true},
      {5, 97 * 1440 + 720, 2, false, 98, false},
      {4, 98 * 1440, 2, false, 98, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << c.minutes << " " << c.upToTheSecond);
    const GraphQuery q = window(c.type, c.minutes, c.increment, c.seconds);
    const int id = c.type <= 1   ? Strings::IDS_TOO_MANY_POINTS
                   : c.type <= 3 ? Strings::IDS_TOO_MANY_RIBBONS
                                 : Strings::IDS_TOO_MANY_DAYS;
    EXPECT_EQ(graphSize(q, c.upToTheSecond), c.count);
    const auto failure = checkGraphSize(q, c.upToTheSecond);
    EXPECT_EQ(failure ? failure->stringId : 0, c.passes ? 0 : id);
  }
}

// Only the first failed date rule is reported.
TEST(NewGraphRulesTest, DateChecks) {
  constexpr int kEndBeforeStart = Strings::IDS_END_BEFORE_START;
  constexpr int kTimeOrder = Strings::IDS_MDTW_END_TIME_BEFORE_START;
  const struct {
    int type;
    QDateTime start, end;
    int expectedId;  // 0: passes
  } cases[] = {
      {0, utc(2024, 6, 1, 10, 0), utc(2024, 6, 1, 10, 0), kEndBeforeStart},
      {5, utc(2024, 7, 2, 10, 0), utc(2024, 7, 1, 10, 0), kEndBeforeStart},  // checked before the future
      {2, utc(2024, 6, 15, 11, 0), utc(2024, 6, 15, 12, 1), Strings::IDS_DATES_BEYOND_TODAY},
      {2, utc(2024, 6, 15, 11, 0), utc(2024, 6, 15, 12, 0), 0},  // ends now
      {5, local(2024, 6, 1, 10, 0), local(2024, 6, 3, 9, 0), kTimeOrder},
      {5, local(2024, 6, 1, 10, 0), local(2024, 6, 3, 10, 0), Strings::IDS_MDTW_SAME_TIMES},
      {5, local(2024, 6, 1, 10, 0), local(2024, 6, 1, 11, 0), Strings::IDS_MDTW_SAME_DATE},
      {5, local(2024, 6, 1, 10, 30), local(2024, 6, 3, 10, 15), kTimeOrder},
      {5, local(2024, 6, 1, 10, 0), local(2024, 6, 3, 11, 0), 0},
      // The daily window is local: 23:00 to 01:00 UTC is 01:00 to 03:00 in summer.
      {5, utc(2024, 6, 1, 23, 0), utc(2024, 6, 3, 1, 0), 0},
  };
  for (const auto& c : cases) {
    GraphQuery q;
    q.graphType = c.type;
    q.SetStart(at(c.start));
    q.SetEnd(at(c.end));
    const auto failure = checkDates(q, at(utc(2024, 6, 15, 12, 0)));
    EXPECT_EQ(failure ? failure->stringId : 0, c.expectedId) << c.start.toString(Qt::ISODate).toStdString();
  }
}

TEST(NewGraphRulesTest, FrequencyCheck) {
  const struct {
    int type;
    double frequency, lower, upper;
    const char* failure;  // nullptr: passes
  } cases[] = {
      {OneFreqTimeWindow, 5.0, 0.0, 0.0, "The frequency is out of 0.0MHz - 0.0MHz range."},
      {OneFreqTimeWindow, 5.0, 5.25, 42.0, "The frequency is out of 5.3MHz - 42.0MHz range."},
      {OneFreqTimeWindow, 42.0, 5.0, 42.0, nullptr},
      {OneFreqTimeWindow, 5.0, 5.0, 42.0, nullptr},
      {OneFreqTimeWindow, std::nan(""), 5.0, 42.0, "The frequency is out of 5.0MHz - 42.0MHz range."},
  };
  for (const auto& c : cases) {
    GraphQuery q;
    q.graphType = c.type;
    q.frequency = c.frequency;
    const auto f = checkFrequency(q, c.lower, c.upper);
    EXPECT_EQ(f ? f->text.toStdString() : "", c.failure ? c.failure : "") << c.frequency;
  }
}

// Every failed check is reported, in order; statistics are checked only
// where they are check boxes.
TEST(NewGraphRulesTest, EveryFailureIsReportedInOrder) {
  CheckContext context;
  context.nowUtc = at(utc(2024, 6, 15, 12, 0));
  context.lowerFrequency = 5.0;
  context.upperFrequency = 65.0;
  const auto ids = [&](int type, int minutes, std::array<int32_t, 7> statistics) {
    GraphQuery q = window(type, minutes);
    q.statistics = statistics;
    q.frequency = 99.0;
    std::vector<int> result;
    for (const auto& f : runChecks(q, context)) result.push_back(f.stringId);
    return result;
  };
  constexpr std::array<int32_t, 7> kNone{};
  EXPECT_EQ(ids(OneFreqTimeWindow, 0, kNone),
            (std::vector<int>{Strings::IDS_END_BEFORE_START, Strings::IDS_NO_STATISTIC,
                              Strings::IDS_FREQUENCY_OUT_OF_RANGE}));
  EXPECT_EQ(ids(TimeWindowSummary, 7515, kNone),
            (std::vector<int>{Strings::IDS_NO_STATISTIC, Strings::IDS_TOO_MANY_POINTS}));
  EXPECT_TRUE(ids(TimeWindowSummary, 60, {0, 0, 0, 0, 0, 0, 1}).empty());
  EXPECT_TRUE(ids(TimeWindowDetail, 60, kNone).empty());
}

// Per type: does the end time follow the start, is "up to the second"
// cleared (each per increment: 15 min, 1 hour, 1 day), does the end date follow.
TEST(NewGraphRulesTest, FieldsThatFollowTheStart) {
  const char* expected[] = {"000 000 0", "001 001 0", "001 001 0", "111 000 1", "000 000 0", "000 000 0"};
  for (int type = 0; type < kGraphTypeCount; ++type) {
    std::string row;
    for (int inc = 0; inc < Increment::kCount; ++inc) row += endTimeFollowsStart(type, inc) ? '1' : '0';
    row += ' ';
    for (int inc = 0; inc < Increment::kCount; ++inc)
      row += incrementClearsUpToTheSecond(type, inc) ? '1' : '0';
    row += endDateFollowsStart(type) ? " 1" : " 0";
    EXPECT_EQ(row, expected[type]) << type;
  }
}

}  // namespace
