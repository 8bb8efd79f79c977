#include "sim/BlockBuilder.h"
#include "sim/RequestPlan.h"

#include "SimTestUtil.h"

using namespace simtest;

namespace {

constexpr int32_t kDay = 86400;

const std::vector<double> kPlan{10.0, 20.0, 30.0};

// Each kind at and beyond its limits; OK, invalid argument, overflow.
TEST(RequestPlan, RefusesArgumentsOutsideTheLimits) {
  constexpr HRESULT OK = hr::S_OK, BAD = hr::kInvalidArgument, OVER = hr::kOverflow;
  RequestPlan p;
  // Statistics 0 to 6; the end after the start.
  for (auto [start, end, statistic, expected] :
       {std::tuple{0, 10, -1, BAD}, {0, 10, 6, OK}, {0, 10, 7, BAD}, {10, 10, 0, BAD}})
    EXPECT_EQ(RequestPlan::summary(start, end, statistic, p), expected) << statistic << " " << end;
  // At most 97 ribbons, counted as the New Graph dialog counts them.
  for (auto [start, end, interval, expected] :
       {std::tuple{10, 5, 900, BAD},
        {0, 900, 0, BAD},
        {0, 97 * 900, 900, OK},
        {0, 98 * 900, 900, OVER},
        {59, 97 * 3600 + 1800, 3600, OVER},  // 97 h 30 min, the seconds dropped
        {0, 97 * 900 + 1, 900, OVER}})
    EXPECT_EQ(RequestPlan::ribbon(start, end, interval, 0, p), expected) << end << " " << interval;
  // At most 500 points, on a frequency of the plan.
  for (auto [end, interval, mhz, expected] : {std::tuple{900, -900, 10.0, BAD},
                                              {500 * 900, 900, 10.0, OK},
                                              {501 * 900, 900, 10.0, OVER},
                                              {900, 900, 36.0, BAD}})
    EXPECT_EQ(RequestPlan::frequency(0, end, interval, 0, mhz, kPlan, p), expected) << end << " " << mhz;
  // At most 97 days; a window inside two days from midnight; times within 32 bits.
  constexpr int32_t kLate = INT32_MAX - 100;
  for (auto [first, last, windowStart, windowEnd, expected] :
       {std::tuple{0, 96 * kDay, 0, 3600, OK},
        {0, 97 * kDay, 0, 3600, OK},
        {0, 97 * kDay, 0, 13 * 3600, OVER},
        {0, 97 * kDay, 0, 12 * 3600, OK},  // clock change
        {0, 98 * kDay, 0, 3600, OVER},
        {kDay, kDay, 0, 3600, OK},
        {kDay, 0, 0, 3600, BAD},
        {0, kDay, -1, 3600, BAD},
        {0, kDay, 3600, 3600, BAD},
        {0, kDay, 0, 2 * kDay, OK},
        {0, kDay, 3600, 2 * kDay + 1, BAD},
        {kLate, kLate, 0, 3600, BAD}})
    EXPECT_EQ(RequestPlan::day(first, last, windowStart, windowEnd, 0, p), expected)
        << first << " " << last << " " << windowStart << "-" << windowEnd;
}

// The periods of a counted answer, in the order sent: ribbons and days latest
// first, points earliest first. Ribbons run back from the end in whole
// intervals and meet the start only when the count is the window's ceiling.
TEST(RequestPlan, PeriodsFollowTheCount) {
  using P = std::vector<Period>;
  const auto periods = [](HRESULT h, const RequestPlan& p) { return h == hr::S_OK ? p.periods : P{}; };
  RequestPlan p;
  const std::pair<P, P> cases[] = {
      // 67 minutes: four quarters, the earliest 7 minutes left out.
      {periods(RequestPlan::ribbon(-420, 3600, 900, 0, p), p),
       P{{2700, 3600}, {1800, 2700}, {900, 1800}, {0, 900}}},
      // 68 minutes: five, the earliest cut at the start.
      {periods(RequestPlan::ribbon(-480, 3600, 900, 0, p), p),
       P{{2700, 3600}, {1800, 2700}, {900, 1800}, {0, 900}, {-480, 0}}},
      // To the second, 40 minutes 30 seconds: three and one more, reaching before the start.
      {periods(RequestPlan::ribbon(0, 2430, 900, 0, p), p),
       P{{1530, 2430}, {630, 1530}, {-270, 630}, {-1170, -270}}},
      // 66 minutes in four points: the last holds the remainder; 67 minutes in five.
      {periods(RequestPlan::frequency(0, 3960, 900, 0, 10.0, kPlan, p), p),
       P{{0, 900}, {900, 1800}, {1800, 2700}, {2700, 3960}}},
      {periods(RequestPlan::frequency(0, 4020, 900, 0, 10.0, kPlan, p), p),
       P{{0, 900}, {900, 1800}, {1800, 2700}, {2700, 3600}, {3600, 4020}}},
      // Three windows of five hours span two days 5 hours: the latest two. One hour still answers.
      {periods(RequestPlan::day(0, 2 * kDay, 3600, 6 * 3600, 0, p), p),
       P{{2 * kDay + 3600, 2 * kDay + 6 * 3600}, {kDay + 3600, kDay + 6 * 3600}}},
      {periods(RequestPlan::day(kDay, kDay, 0, 3600, 0, p), p), P{{kDay, kDay + 3600}}},
  };
  for (const auto& [got, expected] : cases) {
    EXPECT_EQ(got, expected) << (expected.empty() ? 0 : expected.front().end);
  }
}

// The column found, -1 where refused. Uneven steps: half the step on the side of the request.
TEST(RequestPlan, NearestFrequencyLiesWithinHalfAStepOfTheRequest) {
  const std::vector<double> uneven{10.0, 20.0, 40.0}, single{12.5}, none;
  const std::tuple<const std::vector<double>*, double, int> cases[] = {
      {&kPlan, 14.9, 0},  {&kPlan, 15.1, 1},  {&kPlan, 30.0, 2},  {&kPlan, 35.0, 2},   {&kPlan, 35.1, -1},
      {&kPlan, 5.0, 0},   {&kPlan, 4.9, -1},  {&single, 12.5, 0}, {&single, 12.6, -1}, {&none, 10.0, -1},
      {&uneven, 29.9, 1}, {&uneven, 15.1, 1}, {&uneven, 14.9, 0}};
  for (const auto& [plan, mhz, expected] : cases) {
    size_t column = 99;
    const HRESULT h = RequestPlan::nearestFrequency(*plan, mhz, column);
    const int found = h == hr::S_OK ? static_cast<int>(column) : -1;
    EXPECT_EQ(std::pair(h, found), std::pair(expected < 0 ? hr::kInvalidArgument : hr::S_OK, expected))
        << mhz;
  }
}

// Every block of the answer built from the tiny scans, without a database, latest first.
std::vector<std::string> built(const RequestPlan& plan) {
  static const PortRecord port = tinyPort();  // the builder keeps a reference
  BlockBuilder builder(plan, port);
  builder.addAll(tinyScanSet());
  std::vector<std::string> blocks;
  for (std::size_t i = 0; i < plan.blockCount(); ++i) {
    switch (plan.kind) {
      case RequestKind::Ribbon: blocks.push_back(show(builder.ribbon(i))); break;
      case RequestKind::Day: blocks.push_back(show(builder.day(i))); break;
      case RequestKind::Summary: blocks.push_back(show(builder.summary())); break;
      case RequestKind::Frequency: blocks.push_back(show(builder.frequency())); break;
    }
  }
  return blocks;
}

using Blocks = std::vector<std::string>;

// Blocks run backwards from the end; ribbons cut the earliest one short, day
// windows may cross midnight.
TEST(BuiltBlocks, EachKindFromTheTinyScans) {
  RequestPlan plan;
  ASSERT_EQ(RequestPlan::ribbon(kT0, kT0 + 2250, 900, Statistics::kAverage, plan), hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"1 n3 [1350,2250) v515/515: -@10 -3@20 -@30",
                                 "1 n3 [450,1350) v515/515: -6@10 -25@20 -@30",
                                 "1 n3 [0,450) v515/515: -10@10 5@20 -@30"}));
  EXPECT_EQ(plan.scanSpan, (Period{kT0, kT0 + 2250}));
  // 23:30 to 00:30 from three days on: two days counted; the earlier one's
  // window holds the first scans; has-data is the answer's.
  ASSERT_EQ(RequestPlan::day(kT0 - 2 * kDay, kT0, 23 * 3600 + 1800, kDay + 1800, Statistics::kAverage, plan),
            hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"1 n2 [84600,88200) w84600-88200 v515/515: -@10 -@20 -@30",
                                 "1 n2 [-1800,1800) w84600-88200 v515/515: -8@10 -10@20 -@30"}));
  EXPECT_EQ(plan.scanSpan, (Period{kT0 - 1800, kT0 + kDay + 1800}));
  // Two-day windows overlap: both days hold all five scans.
  ASSERT_EQ(RequestPlan::day(kT0 - kDay, kT0, 0, 2 * kDay, Statistics::kMaximum, plan), hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"1 n2 [0,172800) w0-172800 v515/515: -2@10 5@20 -@30",
                                 "1 n2 [-86400,86400) w0-172800 v515/515: -2@10 5@20 -@30"}));
  // The scan at +60 min lies outside.
  ASSERT_EQ(RequestPlan::summary(kT0, kT0 + 3600, Statistics::kAverage, plan), hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"1 @0: -6@10 -14.5@20 -@30"}));
  ASSERT_EQ(RequestPlan::summary(kT0 + 3601, kT0 + 7200, Statistics::kMinimum, plan), hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"0 @3601: -@10 -@20 -@30"}));
  // Each point carries its start time.
  ASSERT_EQ(RequestPlan::frequency(kT0 - 1800, kT0 + 1800, 900, Statistics::kAverage, 11.0, kPlan, plan),
            hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"1 @-1800: -@-1800 -@-900 -10@0 -6@900"}));
  ASSERT_EQ(RequestPlan::frequency(kT0 - 1800, kT0, 900, 0, 30.0, kPlan, plan), hr::S_OK);
  EXPECT_EQ(built(plan), (Blocks{"0 @-1800: -@-1800 -@-900"}));
}

}  // namespace
