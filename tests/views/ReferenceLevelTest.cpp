#include "views/ReferenceLevel.h"

#include <gtest/gtest.h>

namespace {

ReferenceLevel levelFor(double minimum, double maximum, int step, int span, bool percent) {
  return {.step = step, .span = span, .percent = percent, .dataMaximum = maximum, .dataMinimum = minimum};
}

TEST(ReferenceLevel, AutoReferencePutsTheAxisOnTheStepAroundTheData) {
  const struct {
    const char* name;
    double minimum, maximum;
    int step, span;
    bool percent;
    int top, bottom, spanAfter;
  } cases[] = {// 27 is lowered to 20, -7 raised to 0; then widened to 40.
               {"worked_example", 3.2, 17.9, 10, 40, false, 30, -10, 40},
               {"wide_data_keeps_its_range", -20.5, 55.1, 10, 40, false, 60, -30, 90},
               {"step_five", 3.2, 17.9, 5, 40, false, 30, -10, 40},
               {"step_two", 3.2, 17.9, 2, 40, false, 30, -10, 40},
               {"step_zero_counts_as_ten", 3.2, 17.9, 0, 40, false, 30, -10, 40},
               // A larger span from the property dialog widens bottom first.
               {"span_sixty", 3.2, 17.9, 10, 60, false, 40, -20, 60},
               {"span_fifty_bottom_first", 3.2, 17.9, 10, 50, false, 30, -20, 50},
               {"negative_levels", -48.0, -31.5, 10, 40, false, -20, -60, 40},
               // No step above the data in percent mode: 37 rounds up to 40.
               {"percent_top_stays_on_the_data", 2.0, 37.0, 10, 40, true, 40, 0, 40},
               // Above 100 % the axis is pinned to 0..100.
               {"percent_clamped", 0.0, 97.0, 10, 40, true, 100, 0, 100},
               {"percent_wide_span_clamped", 10.0, 50.0, 10, 120, true, 100, 0, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReferenceLevel l = levelFor(c.minimum, c.maximum, c.step, c.span, c.percent);
    l.autoReference();
    EXPECT_EQ(std::tuple(l.top, l.bottom, l.span), std::tuple(c.top, c.bottom, c.spanAfter));
    const int step = c.step > 0 ? c.step : 10;  // a step of 0 would loop forever
    EXPECT_EQ(l.top % step, 0);
    EXPECT_EQ(l.bottom % step, 0);
    EXPECT_GE(l.top - l.bottom, ReferenceLevel::kMinimumSpan);
  }
}

TEST(ReferenceLevelMoves, RaiseAndLowerShiftByOneStepAndKeepTheSpan) {
  ReferenceLevel l = levelFor(3.2, 17.9, 10, 40, false);
  l.autoReference();
  l.raise();
  EXPECT_EQ(std::pair(l.top, l.bottom), std::pair(40, 0));
  l.lower();
  l.lower();
  EXPECT_EQ(std::tuple(l.top, l.bottom, l.span), std::tuple(20, -20, 40));
}

TEST(ReferenceLevel, EnablingFollowsTheAxisTheChartShows) {
  const struct {
    const char* name;
    double minimum, maximum;  // data
    bool percent;
    int bottom;               // the view's axis bottom
    double axisMin, axisMax;  // what the chart shows
    bool raise, lower, autoRef;
  } cases[] = {{"levels_room_below", 3.2, 17.9, false, -10, -10, 30, true, true, true},
               {"levels_bottom_at_data", 3.2, 17.9, false, 0, 0, 40, false, true, true},
               {"levels_top_at_data", 3.2, 17.9, false, -10, -10, 20, true, false, true},
               // One step exactly: M - s == maximum still lowers; m + s == minimum does not raise.
               {"lower_boundary_inclusive", 0.0, 20.0, false, -10, -10, 30, false, true, true},
               {"percent_bottom_one_step_below_zero", 0.0, 95.0, true, -10, -10, 100, true, false, true},
               {"percent_near_the_top", 5.0, 95.0, true, 0, 0, 100, false, false, false},
               {"percent_room_both_ways", 15.0, 40.0, true, -20, 0, 60, true, true, true}};
  for (const auto& c : cases) {
    ReferenceLevel l = levelFor(c.minimum, c.maximum, 10, 40, c.percent);
    l.bottom = c.bottom;
    EXPECT_EQ(std::tuple(l.canRaise(c.axisMin, c.axisMax), l.canLower(c.axisMax),
                         l.canAutoReference(c.axisMin, c.axisMax)),
              std::tuple(c.raise, c.lower, c.autoRef))
        << c.name;
  }
}

}  // namespace
