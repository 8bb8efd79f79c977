#include "sim/BlockBuilder.h"
#include "sim/RequestPlan.h"

#include "SimTestUtil.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

constexpr int32_t kDay = 86400;

TEST(RequestPlan, RibbonRunsBackwardsFromTheEndAndTheEarliestStartsAtTheStart) {
  RequestPlan plan;
  // Two and a half intervals: three blocks, the earliest one short.
  ASSERT_EQ(RequestPlan::ribbon(kT0, kT0 + 2250, 900, 0, plan), hr::S_OK);
  ASSERT_EQ(plan.blockCount(), 3u);
  EXPECT_EQ(plan.periods[0], (Period{kT0 + 1350, kT0 + 2250}));
  EXPECT_EQ(plan.periods[1], (Period{kT0 + 450, kT0 + 1350}));
  EXPECT_EQ(plan.periods[2], (Period{kT0, kT0 + 450}));
  EXPECT_EQ(plan.scanSpan, (Period{kT0, kT0 + 2250}));
}

TEST(RequestPlan, DayBlocksRunFromTheLastDayBackAndMayCrossMidnight) {
  RequestPlan plan;
  // 22:00 to 06:00: the client moves the window end past midnight.
  const int32_t first = kT0, last = kT0 + 2 * kDay;
  ASSERT_EQ(RequestPlan::day(first, last, 22 * 3600, kDay + 6 * 3600, 0, plan), hr::S_OK);
  ASSERT_EQ(plan.blockCount(), 3u);
  EXPECT_EQ(plan.periods[0], (Period{last + 22 * 3600, last + kDay + 6 * 3600}));
  EXPECT_EQ(plan.periods[2], (Period{first + 22 * 3600, first + kDay + 6 * 3600}));
  EXPECT_EQ(plan.scanSpan, (Period{first + 22 * 3600, last + kDay + 6 * 3600}));
  EXPECT_EQ(plan.windowStart, 22 * 3600);
  EXPECT_EQ(plan.windowEnd, kDay + 6 * 3600);
}

const std::vector<double> kPlan{10.0, 20.0, 30.0};

TEST(RequestPlan, RefusesArgumentsOutsideTheLimits) {
  // kind: Summary(a, b, statistic), Ribbon(a, b, c, statistic), Frequency(a, b, c, statistic, mhz),
  // Day(a, b, c, d, statistic).
  const struct {
    const char* what;
    char kind;
    int32_t a, b, c, d;
    int32_t statistic;
    double mhz;
    HRESULT expected;
  } cases[] = {
      {"statistic below 0", 'S', 0, 10, 0, 0, -1, 0, hr::kInvalidArgument},
      {"statistic 6 is the last", 'S', 0, 10, 0, 0, 6, 0, hr::S_OK},
      {"statistic above 6", 'R', 0, 900, 900, 0, 7, 0, hr::kInvalidArgument},
      {"end equal to start", 'S', 10, 10, 0, 0, 0, 0, hr::kInvalidArgument},
      {"end before start", 'R', 10, 5, 900, 0, 0, 0, hr::kInvalidArgument},
      {"zero interval", 'R', 0, 900, 0, 0, 0, 0, hr::kInvalidArgument},
      {"negative interval", 'F', 0, 900, -900, 0, 0, 10.0, hr::kInvalidArgument},
      {"97 ribbons is the most", 'R', 0, 97 * 900, 900, 0, 0, 0, hr::S_OK},
      {"98 ribbons", 'R', 0, 98 * 900, 900, 0, 0, 0, hr::kOverflow},
      {"97 ribbons and a second", 'R', 0, 97 * 900 + 1, 900, 0, 0, 0, hr::kOverflow},
      {"500 points is the most", 'F', 0, 500 * 900, 900, 0, 0, 10.0, hr::S_OK},
      {"501 points", 'F', 0, 501 * 900, 900, 0, 0, 10.0, hr::kOverflow},
      {"frequency off the plan", 'F', 0, 900, 900, 0, 0, 36.0, hr::kInvalidArgument},
      {"97 days is the most", 'D', 0, 96 * kDay, 0, 3600, 0, 0, hr::S_OK},
      {"98 days", 'D', 0, 97 * kDay, 0, 3600, 0, 0, hr::kOverflow},
      {"one day", 'D', kDay, kDay, 0, 3600, 0, 0, hr::S_OK},
      {"last day before first", 'D', kDay, 0, 0, 3600, 0, 0, hr::kInvalidArgument},
      {"window starting before midnight", 'D', 0, kDay, -1, 3600, 0, 0, hr::kInvalidArgument},
      {"empty window", 'D', 0, kDay, 3600, 3600, 0, 0, hr::kInvalidArgument},
      {"window of two whole days", 'D', 0, kDay, 0, 2 * kDay, 0, 0, hr::S_OK},
      {"window beyond two days", 'D', 0, kDay, 3600, 2 * kDay + 1, 0, 0, hr::kInvalidArgument},
      {"window past the 32-bit times", 'D', INT32_MAX - 100, INT32_MAX - 100, 0, 3600, 0, 0,
       hr::kInvalidArgument},
  };
  for (const auto& c : cases) {
    RequestPlan p;
    const HRESULT h = c.kind == 'S'   ? RequestPlan::summary(c.a, c.b, c.statistic, p)
                      : c.kind == 'R' ? RequestPlan::ribbon(c.a, c.b, c.c, c.statistic, p)
                      : c.kind == 'F' ? RequestPlan::frequency(c.a, c.b, c.c, c.statistic, c.mhz, kPlan, p)
                                      : RequestPlan::day(c.a, c.b, c.c, c.d, c.statistic, p);
    EXPECT_EQ(h, c.expected) << c.what;
  }
}

TEST(RequestPlan, NearestFrequencyLiesWithinHalfAStepOfTheRequest) {
  const struct {
    std::vector<double> plan;
    double mhz;
    int expected;  // -1: refused
  } cases[] = {{kPlan, 14.9, 0},
               {kPlan, 15.1, 1},
               {kPlan, 30.0, 2},
               {kPlan, 35.0, 2},
               {kPlan, 35.1, -1},
               {kPlan, 5.0, 0},
               {kPlan, 4.9, -1},
               {{12.5}, 12.5, 0},
               {{12.5}, 12.6, -1},
               {{}, 10.0, -1},
               // Uneven steps: half the step on the side of the request.
               {{10.0, 20.0, 40.0}, 29.9, 1},
               {{10.0, 20.0, 40.0}, 15.1, 1},
               {{10.0, 20.0, 40.0}, 14.9, 0}};
  for (const auto& c : cases) {
    size_t column = 99;
    const HRESULT h = RequestPlan::nearestFrequency(c.plan, c.mhz, column);
    EXPECT_EQ(h, c.expected < 0 ? hr::kInvalidArgument : hr::S_OK) << c.mhz;
    if (c.expected >= 0) {
      EXPECT_EQ(column, static_cast<size_t>(c.expected)) << c.mhz;
    }
  }
}

// Blocks built from the tiny scans, without a database.
class BuiltBlocks : public ::testing::Test {
protected:
  BlockBuilder build(const RequestPlan& plan) {
    BlockBuilder builder(plan, port);
    builder.addAll(tinyScanSet());
    return builder;
  }
  PortRecord port = tinyPort();
};

TEST_F(BuiltBlocks, RibbonBlocksCarryCountPeriodAndPlanAndMarkEmptyPeriods) {
  RequestPlan plan;
  // Four half-hour blocks; the latest, [T0+1.5h, T0+2h), holds no scan.
  ASSERT_EQ(RequestPlan::ribbon(kT0, kT0 + 7200, 1800, Statistics::kMaximum, plan), hr::S_OK);
  const BlockBuilder builder = build(plan);
  const RibbonBlock latest = builder.ribbon(0);
  EXPECT_EQ(latest.hasData, 0);
  EXPECT_EQ(latest.blockCount, 4);
  EXPECT_EQ(latest.periodStart, kT0 + 5400);
  EXPECT_EQ(latest.periodEnd, kT0 + 7200);
  EXPECT_EQ(latest.entryCount, 3);
  EXPECT_EQ(latest.values[0], Blocks::NO_DATA);
  EXPECT_EQ(latest.field24, 0x0203);  // the monitoring point's version, at both places
  EXPECT_EQ(latest.field26, 0x0203);

  const RibbonBlock second = builder.ribbon(2);  // [T0+30min, T0+60min): rows at +30 and +45
  EXPECT_EQ(second.hasData, 1);
  EXPECT_EQ(second.periodStart, kT0 + 1800);
  EXPECT_EQ(second.values[0], -2.0);
  EXPECT_EQ(second.values[1], -3.0);
  EXPECT_EQ(second.values[2], Blocks::NO_DATA);
  EXPECT_EQ(second.frequencies[2], 30.0);

  const RibbonBlock earliest = builder.ribbon(3);
  EXPECT_EQ(earliest.periodStart, kT0);
  EXPECT_EQ(earliest.values[1], 5.0);
  EXPECT_EQ(earliest.blockCount, 4);
}

TEST_F(BuiltBlocks, DayBlocksStateTheirWindowAndTheirOwnDay) {
  RequestPlan plan;
  // Two days, 23:30 to 00:30: the earlier day's window holds the first scans.
  const int32_t previous = kT0 - kDay;
  ASSERT_EQ(RequestPlan::day(previous, kT0, 23 * 3600 + 1800, kDay + 1800, Statistics::kAverage, plan),
            hr::S_OK);
  const BlockBuilder builder = build(plan);
  const DayBlock today = builder.day(0);
  const DayBlock yesterday = builder.day(1);
  EXPECT_EQ(today.hasData, 0);
  EXPECT_EQ(today.periodStart, kT0 + 23 * 3600 + 1800);
  EXPECT_EQ(yesterday.hasData, 1);
  EXPECT_EQ(yesterday.periodStart, previous + 23 * 3600 + 1800);
  EXPECT_EQ(yesterday.periodEnd, kT0 + 1800);
  EXPECT_EQ(yesterday.windowStart, 23 * 3600 + 1800);
  EXPECT_EQ(yesterday.windowEnd, kDay + 1800);
  EXPECT_EQ(yesterday.blockCount, 2);
  EXPECT_EQ(yesterday.field28, 0x0203);
  EXPECT_EQ(yesterday.field30, 0x0203);
  EXPECT_EQ(yesterday.values[0], -8.0);   // -10 and -6
  EXPECT_EQ(yesterday.values[1], -10.0);  // 5 and -25
}

TEST_F(BuiltBlocks, AScanCountsInEveryDayWindowThatHoldsIt) {
  RequestPlan plan;
  // Two-day windows overlap: both days hold all five scans.
  ASSERT_EQ(RequestPlan::day(kT0 - kDay, kT0, 0, 2 * kDay, Statistics::kMaximum, plan), hr::S_OK);
  const BlockBuilder builder = build(plan);
  EXPECT_EQ(builder.day(0).values[1], 5.0);
  EXPECT_EQ(builder.day(1).values[1], 5.0);
  EXPECT_EQ(builder.day(1).values[0], -2.0);
}

TEST_F(BuiltBlocks, SummaryCoversTheWindowAndIsEmptyWithoutScans) {
  RequestPlan plan;
  ASSERT_EQ(RequestPlan::summary(kT0, kT0 + 3600, Statistics::kAverage, plan), hr::S_OK);
  const SummaryBlock s = build(plan).summary();
  EXPECT_EQ(s.hasData, 1);
  EXPECT_EQ(s.labelTime, kT0);
  EXPECT_EQ(s.entryCount, 3);
  EXPECT_EQ(s.values[0], -6.0);
  EXPECT_EQ(s.values[1], -14.5);  // the scan at +60 min lies outside
  EXPECT_EQ(s.values[2], Blocks::NO_DATA);
  EXPECT_EQ(s.frequencies[1], 20.0);

  ASSERT_EQ(RequestPlan::summary(kT0 + 3601, kT0 + 7200, Statistics::kMinimum, plan), hr::S_OK);
  EXPECT_EQ(build(plan).summary().hasData, 0);
}

TEST_F(BuiltBlocks, FrequencySeriesGivesEachPointsStartAndHolesAsNoData) {
  RequestPlan plan;
  ASSERT_EQ(
      RequestPlan::frequency(kT0 - 1800, kT0 + 1800, 900, Statistics::kAverage, 11.0, port.frequencies, plan),
      hr::S_OK);
  const FrequencySeriesBlock f = build(plan).frequency();
  EXPECT_EQ(f.hasData, 1);
  EXPECT_EQ(f.labelTime, kT0 - 1800);
  ASSERT_EQ(f.entryCount, 4);
  EXPECT_EQ(f.times[0], static_cast<uint32_t>(kT0 - 1800));
  EXPECT_EQ(f.times[3], static_cast<uint32_t>(kT0 + 900));
  EXPECT_EQ(f.values[1], Blocks::NO_DATA);
  EXPECT_EQ(f.values[2], -10.0);
  EXPECT_EQ(f.values[3], -6.0);

  ASSERT_EQ(RequestPlan::frequency(kT0 - 1800, kT0, 900, 0, 30.0, port.frequencies, plan), hr::S_OK);
  EXPECT_EQ(build(plan).frequency().hasData, 0);
}

}  // namespace
