#include "views/ReferenceLevel.h"

#include <gtest/gtest.h>

namespace {

struct AutoCase {
  const char* name;
  double minimum, maximum;
  int step, span;
  bool percent;
  int top, bottom, spanAfter;
};

ReferenceLevel levelFor(double minimum, double maximum, int step, int span, bool percent) {
  ReferenceLevel l;
  l.dataMinimum = minimum;
  l.dataMaximum = maximum;
  l.step = step;
  l.span = span;
  l.percent = percent;
  return l;
}

class AutoReference : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoReference, PutsTheAxisOnTheStepAroundTheData) {
  const AutoCase& c = GetParam();
  ReferenceLevel l = levelFor(c.minimum, c.maximum, c.step, c.span, c.percent);
  l.autoReference();
  EXPECT_EQ(l.top, c.top);
  EXPECT_EQ(l.bottom, c.bottom);
  EXPECT_EQ(l.span, c.spanAfter);
  EXPECT_EQ(l.top % l.step, 0);
  EXPECT_EQ(l.bottom % l.step, 0);
  EXPECT_GE(l.top - l.bottom, ReferenceLevel::kMinimumSpan);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoReference,
    ::testing::Values(
        // 27 is lowered to 20, -7 raised to 0; then widened to 40.
        AutoCase{"worked_example", 3.2, 17.9, 10, 40, false, 30, -10, 40},
        AutoCase{"wide_data_keeps_its_range", -20.5, 55.1, 10, 40, false, 60, -30, 90},
        AutoCase{"step_five", 3.2, 17.9, 5, 40, false, 30, -10, 40},
        AutoCase{"step_two", 3.2, 17.9, 2, 40, false, 30, -10, 40},
        // A larger span from the property dialog widens bottom first.
        AutoCase{"span_sixty", 3.2, 17.9, 10, 60, false, 40, -20, 60},
        AutoCase{"span_fifty_bottom_first", 3.2, 17.9, 10, 50, false, 30, -20, 50},
        AutoCase{"negative_levels", -48.0, -31.5, 10, 40, false, -20, -60, 40},
        // No step above the data in percent mode: 37 rounds up to 40.
        AutoCase{"percent_top_stays_on_the_data", 2.0, 37.0, 10, 40, true, 40, 0, 40},
        // Above 100 % the axis is pinned to 0..100.
        AutoCase{"percent_clamped", 0.0, 97.0, 10, 40, true, 100, 0, 100},
        AutoCase{"percent_wide_span_clamped", 10.0, 50.0, 10, 120, true, 100, 0, 100}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReferenceLevelMoves, RaiseAndLowerShiftByOneStepAndKeepTheSpan) {
  ReferenceLevel l = levelFor(3.2, 17.9, 10, 40, false);
  l.autoReference();
  l.raise();
  EXPECT_EQ(l.top, 40);
  EXPECT_EQ(l.bottom, 0);
  l.lower();
  l.lower();
  EXPECT_EQ(l.top, 20);
  EXPECT_EQ(l.bottom, -20);
  EXPECT_EQ(l.span, 40);
}

TEST(ReferenceLevelMoves, AStepOfZeroIsTreatedAsTenInsteadOfLoopingForever) {
  ReferenceLevel l = levelFor(3.2, 17.9, 0, 40, false);
  l.autoReference();
  EXPECT_EQ(l.top, 30);
  EXPECT_EQ(l.bottom, -10);
}

struct EnableCase {
  const char* name;
  double minimum, maximum;  // data
  bool percent;
  int bottom;                   // the view's axis bottom
  double axisMin, axisMax;      // what the chart shows
  bool raise, lower, autoRef;
};

class Enabling : public ::testing::TestWithParam<EnableCase> {};

TEST_P(Enabling, FollowsTheAxisTheChartShows) {
  const EnableCase& c = GetParam();
  ReferenceLevel l = levelFor(c.minimum, c.maximum, 10, 40, c.percent);
  l.bottom = c.bottom;
  EXPECT_EQ(l.canRaise(c.axisMin, c.axisMax), c.raise);
  EXPECT_EQ(l.canLower(c.axisMax), c.lower);
  EXPECT_EQ(l.canAutoReference(c.axisMin, c.axisMax), c.autoRef);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Enabling,
    ::testing::Values(
        EnableCase{"levels_room_below", 3.2, 17.9, false, -10, -10, 30, true, true, true},
        EnableCase{"levels_bottom_at_data", 3.2, 17.9, false, 0, 0, 40, false, true, true},
        EnableCase{"levels_top_at_data", 3.2, 17.9, false, -10, -10, 20, true, false, true},
        // One step exactly: M - s == maximum still lowers; m + s == minimum does not raise.
        EnableCase{"lower_boundary_inclusive", 0.0, 20.0, false, -10, -10, 30, false, true, true},
        EnableCase{"percent_bottom_one_step_below_zero", 0.0, 95.0, true, -10, -10, 100, true, false, true},
        EnableCase{"percent_near_the_top", 5.0, 95.0, true, 0, 0, 100, false, false, false},
        EnableCase{"percent_room_both_ways", 15.0, 40.0, true, -20, 0, 60, true, true, true}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
