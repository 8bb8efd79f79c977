#include "views/GraphPropsRules.h"

#include "query/GraphType.h"

#include <gtest/gtest.h>

using namespace GraphPropsRules;

namespace {

const QVector<double> kList{5.0, 5.25, 5.5, 6.0, 10.0};

// Between two list values the lower one, unless within 0.0001 of the upper;
// outside the list its nearest end.
TEST(GraphPropsRulesTest, NearestIndexSnapsToTheListFrequency) {
  const std::pair<double, int> cases[] = {{1.0, 0},     {5.0, 0}, {5.24995, 1}, {5.2, 0},  {5.99, 2},
                                          {6.00009, 3}, {9.9, 3}, {10.0, 4},    {250.0, 4}};
  for (const auto& [value, index] : cases) EXPECT_EQ(nearestIndex(kList, value), index) << value;
  EXPECT_EQ(nearestIndex({}, 5.0), 0);
}

// A negative delta moves up by its magnitude, or by one where that would
// pass an end; never off the list.
TEST(GraphPropsRulesTest, SpinIndexMovesWithinTheList) {
  const struct {
    int index, delta, count, expected;
  } cases[] = {{2, -1, 5, 3}, {0, -3, 5, 3}, {2, -2, 5, 4}, {3, -3, 5, 4}, {1, -4, 5, 2}, {4, -1, 5, 4},
               {2, 0, 5, 2},  {3, 1, 5, 2},  {4, 3, 5, 1},  {2, 3, 5, 1},  {0, 1, 5, 0},  {0, -1, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(spinIndex(c.index, c.delta, c.count), c.expected)
        << "index " << c.index << " delta " << c.delta << " count " << c.count;
}

// Steps of five within max(40, the report's minimum) .. 100; a step past
// 100 is refused whole.
TEST(GraphPropsRulesTest, SpinRangeStaysInTheBand) {
  const struct {
    int range, delta, minimum, expected;
  } cases[] = {{50, -1, 40, 55}, {50, 1, 40, 45}, {45, 1, 40, 40}, {40, 1, 40, 40},    {60, 1, 60, 60},
               {65, 1, 60, 60},  {50, 1, 20, 45}, {45, 1, 20, 40}, {100, -1, 40, 100}, {95, -2, 40, 95}};
  for (const auto& c : cases)
    EXPECT_EQ(spinRange(c.range, c.delta, c.minimum), c.expected)
        << c.range << " " << c.delta << " " << c.minimum;
  // Typed ranges are clamped on OK.
  EXPECT_EQ(std::tuple(clampRange(150), clampRange(20), clampRange(73)), std::tuple(100, 40, 73));
}

TEST(CheckFrequenciesTest, ChecksInOrderWithTolerance) {
  struct Case {
    double start, stop;
    Refusal expected;
  } cases[] = {{5.0, 65.0, Refusal::None},
               {4.999995, 65.000005, Refusal::None},  // within 0.00001 of the ends
               {4.9999, 65.0, Refusal::StartOutOfRange},
               {4.0, 70.0, Refusal::StartOutOfRange},  // the start is checked first
               {5.0, 65.0001, Refusal::StopOutOfRange},
               {30.0, 30.0, Refusal::StopNotAboveStart},
               {40.0, 30.0, Refusal::StopNotAboveStart}};
  for (const auto& c : cases) {
    EXPECT_EQ(checkFrequencies(c.start, c.stop, 5.0, 65.0), c.expected) << c.start << " " << c.stop;
    EXPECT_EQ(refusalText(c.expected).isEmpty(), c.expected == Refusal::None);
  }
}

// Which controls each report offers; the label texts come from the string table.
TEST(LayoutTest, EachReportOffersItsControls) {
  struct Case {
    int type;
    bool levelTrace, rangeShown, scaleShown, stopShown, levelsEnabled;
  } cases[] = {{TwentyFourHour, false, true, false, true, true},
               {MultiDay, false, true, false, true, true},
               {TimeWindowSummary, false, false, true, true, false},
               {TimeWindowSummary, true, false, true, true, true},
               {OneFreqTimeWindow, false, false, true, false, false}};
  for (const auto& c : cases) {
    const Layout l = layoutFor(c.type, false, c.levelTrace);
    const bool s = c.stopShown;  // the stop frequency, the spins, the start and its check go together
    EXPECT_EQ(std::tuple(l.rangeShown, l.scaleShown, l.stopShown, l.spinsShown, l.startEnabled,
                         l.checkFrequencies, l.levelsEnabled),
              std::tuple(c.rangeShown, c.scaleShown, s, s, s, s, c.levelsEnabled))
        << c.type;
  }
  EXPECT_NE(layoutFor(MultiDay, true, true).rangeLabel, layoutFor(MultiDay, false, true).rangeLabel);
}

}  // namespace
