#include "views/GraphPropsRules.h"

#include "query/GraphType.h"

#include <gtest/gtest.h>

using namespace GraphPropsRules;

namespace {

const QVector<double> kList{5.0, 5.25, 5.5, 6.0, 10.0};

struct NearestCase {
  double value;
  int index;
};

class NearestIndexTest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(NearestIndexTest, SnapsToTheListFrequency) {
  EXPECT_EQ(nearestIndex(kList, GetParam().value), GetParam().index) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Cases, NearestIndexTest,
                         ::testing::Values(NearestCase{1.0, 0},         // below the first: the first
                                           NearestCase{5.0, 0},         // exact
                                           NearestCase{5.24995, 1},     // within 0.0001 of the next one
                                           NearestCase{5.2, 0},         // between two: the lower
                                           NearestCase{5.99, 2},        // just below a list value: the lower
                                           NearestCase{6.00009, 3},     // just above, within tolerance
                                           NearestCase{9.9, 3},         // the lower, however near the upper
                                           NearestCase{10.0, 4},        // the last
                                           NearestCase{250.0, 4}));     // beyond the list: the last

TEST(NearestIndexTest, EmptyListGivesTheFirstPosition) { EXPECT_EQ(nearestIndex({}, 5.0), 0); }

struct SpinCase {
  int index;
  int delta;
  int count;
  int expected;
};

class SpinIndexTest : public ::testing::TestWithParam<SpinCase> {};

TEST_P(SpinIndexTest, MovesWithinTheList) {
  const auto& c = GetParam();
  EXPECT_EQ(spinIndex(c.index, c.delta, c.count), c.expected)
      << "index " << c.index << " delta " << c.delta << " count " << c.count;
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinIndexTest,
                         ::testing::Values(SpinCase{2, -1, 5, 3},   // up by one
                                           SpinCase{0, -3, 5, 3},   // up by the magnitude
                                           SpinCase{3, -3, 5, 4},   // would pass the end: by one
                                           SpinCase{4, -1, 5, 4},   // never beyond the last
                                           SpinCase{2, 0, 5, 2},    // a zero notification moves by nothing
                                           SpinCase{3, 1, 5, 2},    // down by one
                                           SpinCase{4, 3, 5, 1},    // down by the magnitude
                                           SpinCase{2, 3, 5, 1},    // larger than the index: by one
                                           SpinCase{0, 1, 5, 0},    // never below the first
                                           SpinCase{0, -1, 0, 0})); // no list

struct RangeCase {
  int range;
  int delta;
  int minimum;
  int expected;
};

class SpinRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SpinRangeTest, StaysInTheBand) {
  const auto& c = GetParam();
  EXPECT_EQ(spinRange(c.range, c.delta, c.minimum), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinRangeTest,
                         ::testing::Values(RangeCase{50, -1, 40, 55},   // up arrow widens by five
                                           RangeCase{50, 1, 40, 45},
                                           RangeCase{45, 1, 40, 40},
                                           RangeCase{40, 1, 40, 40},    // not below 40
                                           RangeCase{60, 1, 60, 60},    // not below the report's minimum
                                           RangeCase{65, 1, 60, 60},
                                           RangeCase{50, 1, 20, 45},    // a minimum under 40 counts as 40
                                           RangeCase{45, 1, 20, 40},
                                           RangeCase{100, -1, 40, 100}, // not above 100
                                           RangeCase{95, -2, 40, 95})); // a step past 100 is refused whole

TEST(ClampRangeTest, TypedRangesAreClampedOnOk) {
  EXPECT_EQ(clampRange(150), 100);
  EXPECT_EQ(clampRange(20), 40);
  EXPECT_EQ(clampRange(73), 73);
}

TEST(CheckFrequenciesTest, ChecksInOrderWithTolerance) {
  struct Case {
    double start, stop;
    Refusal expected;
  } cases[] = {
      {5.0, 65.0, Refusal::None},
      {4.999995, 65.000005, Refusal::None},         // within 0.00001 of the ends
      {4.9999, 65.0, Refusal::StartOutOfRange},
      {4.0, 70.0, Refusal::StartOutOfRange},        // the start is checked first
      {5.0, 65.0001, Refusal::StopOutOfRange},
      {30.0, 30.0, Refusal::StopNotAboveStart},
      {40.0, 30.0, Refusal::StopNotAboveStart},
  };
  for (const auto& c : cases)
    EXPECT_EQ(checkFrequencies(c.start, c.stop, 5.0, 65.0), c.expected) << c.start << " " << c.stop;
  EXPECT_EQ(refusalText(Refusal::StartOutOfRange), "Start frequency is out of range.");
  EXPECT_EQ(refusalText(Refusal::StopOutOfRange), "Stop frequency is out of range.");
  EXPECT_EQ(refusalText(Refusal::StopNotAboveStart), "Stop frequency must be greater than start frequency.");
  EXPECT_TRUE(refusalText(Refusal::None).isEmpty());
}

TEST(LayoutTest, EachReportOffersItsControls) {
  struct Case {
    int type;
    bool percent;
    const char* title;
    const char* group;
    const char* start;
    const char* stop;
    const char* range;
    const char* step;
    bool rangeShown, scaleShown, stopShown, check;
  } cases[] = {
      {TwentyFourHour, false, "3D Graph Properties", "Amplitude", "&Start Frequency (MHz):", "St&op Frequency (MHz):",
       "Range (dB):", "Ref Level Step (dB):", true, false, true, true},
      {MultiDay, true, "3D Graph Properties", "% Exceeding Threshold", "&Start Frequency (MHz):",
       "St&op Frequency (MHz):", "Range (%):", "Ref Level Step (%):", true, false, true, true},
      {TimeWindowSummary, false, "2D Graph Properties", "Amplitude", "&Start Frequency (MHz):",
       "St&op Frequency (MHz):", "Scale (dB/Div):", "Ref Level Step (dB):", false, true, true, true},
      {OneFreqTimeWindow, false, "2D Graph Properties", "Amplitude", "&Single Frequency (MHz):", " ",
       "Scale (dB/Div):", "Ref Level Step (dB):", false, true, false, false},
  };
  for (const auto& c : cases) {
    const Layout l = layoutFor(c.type, c.percent, true);
    SCOPED_TRACE(c.type);
    EXPECT_EQ(l.title, c.title);
    EXPECT_EQ(l.amplitudeGroup, c.group);
    EXPECT_EQ(l.startLabel, c.start);
    EXPECT_EQ(l.stopLabel, c.stop);
    EXPECT_EQ(l.rangeLabel, c.range);
    EXPECT_EQ(l.stepLabel, c.step);
    EXPECT_EQ(l.rangeShown, c.rangeShown);
    EXPECT_EQ(l.scaleShown, c.scaleShown);
    EXPECT_EQ(l.stopShown, c.stopShown);
    EXPECT_EQ(l.spinsShown, c.stopShown);
    EXPECT_EQ(l.startEnabled, c.check);
    EXPECT_EQ(l.checkFrequencies, c.check);
  }
}

TEST(LayoutTest, LevelCombosNeedALevelTraceOnlyIn2D) {
  EXPECT_FALSE(layoutFor(TimeWindowSummary, false, false).levelsEnabled);
  EXPECT_FALSE(layoutFor(OneFreqTimeWindow, false, false).levelsEnabled);
  EXPECT_TRUE(layoutFor(TimeWindowDetail, false, false).levelsEnabled);
}

}  // namespace
