#include "views/ReferenceLevel.h"

#include <gtest/gtest.h>

namespace {

ReferenceLevel levelFor(double minimum, double maximum, int step, int span, bool percent) {
  return {.step = step, .span = span, .percent = percent, .dataMaximum = maximum, .dataMinimum = minimum};
}

// 3.2 .. 17.9: 27 is lowered to 20, -7 raised to 0, then widened to 40; a
// larger span widens the bottom first; a step of 0 counts as 10 (it would
// loop forever). In percent mode no step goes above the data, and past 100 %
// the axis is pinned to 0..100.
TEST(ReferenceLevel, AutoReferencePutsTheAxisOnTheStepAroundTheData) {
  const struct {
    double minimum, maximum;
    int step, span;
    bool percent;
    int top, bottom, spanAfter;
  } cases[] = {{3.2, 17.9, 10, 40, false, 30, -10, 40}, {-20.5, 55.1, 10, 40, false, 60, -30, 90},
               {3.2, 17.9, 5, 40, false, 30, -10, 40},  {3.2, 17.9, 2, 40, false, 30, -10, 40},
               {3.2, 17.9, 0, 40, false, 30, -10, 40},  {3.2, 17.9, 10, 60, false, 40, -20, 60},
               {3.2, 17.9, 10, 50, false, 30, -20, 50}, {-48.0, -31.5, 10, 40, false, -20, -60, 40},
               {2.0, 37.0, 10, 40, true, 40, 0, 40},    {0.0, 97.0, 10, 40, true, 100, 0, 100},
               {10.0, 50.0, 10, 120, true, 100, 0, 100}};
  for (const auto& c : cases) {
    ReferenceLevel l = levelFor(c.minimum, c.maximum, c.step, c.span, c.percent);
    l.autoReference();
    EXPECT_EQ(std::tuple(l.top, l.bottom, l.span), std::tuple(c.top, c.bottom, c.spanAfter))
        << c.minimum << ".." << c.maximum << " step " << c.step << " span " << c.span;
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
  // A new step under a level on the old one: the top goes up onto it, above the data.
  ReferenceLevel m = levelFor(0.0, 28.5, 4, 40, false);
  m.top = 25;
  m.bottom = -15;
  m.raise();
  EXPECT_EQ(std::pair(m.top, m.bottom), std::pair(32, -8));
}

// Row 4 is one step exactly: M - s == maximum still lowers; m + s == minimum
// does not raise.
TEST(ReferenceLevel, EnablingFollowsTheAxisTheChartShows) {
  const struct {
    double minimum, maximum;  // data
    bool percent;
    int bottom;               // the view's axis bottom
    double axisMin, axisMax;  // what the chart shows
    bool raise, lower, autoRef;
  } cases[] = {{3.2, 17.9, false, -10, -10, 30, true, true, true},
               {3.2, 17.9, false, 0, 0, 40, false, true, true},
               {3.2, 17.9, false, -10, -10, 20, true, false, true},
               {0.0, 20.0, false, -10, -10, 30, false, true, true},
               {0.0, 95.0, true, -10, -10, 100, true, false, true},
               {5.0, 95.0, true, 0, 0, 100, false, false, false},
               {15.0, 40.0, true, -20, 0, 60, true, true, true}};
  for (const auto& c : cases) {
    ReferenceLevel l = levelFor(c.minimum, c.maximum, 10, 40, c.percent);
    l.bottom = c.bottom;
    EXPECT_EQ(std::tuple(l.canRaise(c.axisMin, c.axisMax), l.canLower(c.axisMax),
                         l.canAutoReference(c.axisMin, c.axisMax)),
              std::tuple(c.raise, c.lower, c.autoRef))
        << c.minimum << ".." << c.maximum << " bottom " << c.bottom;
  }
}

}  // namespace
