// Runs with TZ=Europe/Berlin: CET/CEST, switching on 2024-03-31 and 2024-10-27.
#include <gtest/gtest.h>
#include "query/LiveWindow.h"
#include "query/QueryTestUtil.h"
#include "support/FixedClock.h"

namespace {

// One report on screen at `now`: whether it follows, and the window a
// follow refresh asks for.
TEST(LiveWindowTest, FollowsWhileTheLastStepHoldsNowAndSlidesToEndNow) {
  const struct {
    const char* what;
    int type, increment;
    QDateTime start, end, now;
    bool endsNow;
    QDateTime slidStart, slidEnd;
  } cases[] = {
      {"summary, within its quarter", TimeWindowSummary, 0, local(2024, 5, 9, 12, 0),
       local(2024, 5, 10, 12, 0), local(2024, 5, 10, 12, 14, 59), true, local(2024, 5, 9, 12, 0),
       local(2024, 5, 10, 12, 0)},
      {"summary, the next quarter reached", TimeWindowSummary, 0, local(2024, 5, 9, 12, 0),
       local(2024, 5, 10, 12, 0), local(2024, 5, 10, 12, 31), false, local(2024, 5, 9, 12, 30),
       local(2024, 5, 10, 12, 30)},
      {"an end still to come", TimeWindowSummary, 0, local(2024, 5, 9, 12, 0), local(2024, 5, 10, 12, 0),
       local(2024, 5, 10, 11, 59), false, local(2024, 5, 9, 12, 0), local(2024, 5, 10, 12, 0)},
      {"hourly detail, the hour not over", TimeWindowDetail, 1, local(2024, 5, 10, 6, 0),
       local(2024, 5, 10, 12, 0), local(2024, 5, 10, 12, 59), true, local(2024, 5, 10, 6, 45),
       local(2024, 5, 10, 12, 45)},
      {"up to the second", OneFreqTimeWindow, 0, local(2024, 5, 10, 11, 3, 27), local(2024, 5, 10, 12, 3, 27),
       local(2024, 5, 10, 12, 10, 5), true, local(2024, 5, 10, 11, 10, 5), local(2024, 5, 10, 12, 10, 5)},
      {"up to the second, a step late", OneFreqTimeWindow, 0, local(2024, 5, 10, 11, 3, 27),
       local(2024, 5, 10, 12, 3, 27), local(2024, 5, 10, 12, 18, 27), false, local(2024, 5, 10, 11, 18, 27),
       local(2024, 5, 10, 12, 18, 27)},
      // 02:00 to 03:00 local does not exist on March 31: the end jumps the gap,
      // the length stays 24 hours.
      {"24 hour across spring forward", TwentyFourHour, 1, local(2024, 3, 30, 1, 45),
       local(2024, 3, 31, 1, 45), local(2024, 3, 31, 3, 5), true, local(2024, 3, 30, 2, 0),
       local(2024, 3, 31, 3, 0)},
      {"24 hour across fall back", TwentyFourHour, 1, utc(2024, 10, 25, 23, 45), utc(2024, 10, 26, 23, 45),
       utc(2024, 10, 27, 1, 40), false, utc(2024, 10, 26, 1, 30), utc(2024, 10, 27, 1, 30)},
      // The day after March 31 has 23 hours: April 1 00:30 lies beyond it.
      {"multi-day on the short day", MultiDay, 2, local(2024, 3, 29, 0, 0), local(2024, 3, 31, 0, 0),
       local(2024, 3, 31, 23, 30), true, local(2024, 3, 29, 0, 0), local(2024, 3, 31, 0, 0)},
      {"multi-day after the short day", MultiDay, 2, local(2024, 3, 29, 0, 0), local(2024, 3, 31, 0, 0),
       local(2024, 4, 1, 0, 30), false, local(2024, 3, 30, 0, 0), local(2024, 4, 1, 0, 0)},
      {"daily window over February's end", MultiDayTimeWindow, 2, local(2024, 2, 27, 9, 45),
       local(2024, 2, 29, 10, 45), local(2024, 3, 2, 10, 50), false, local(2024, 2, 29, 9, 45),
       local(2024, 3, 2, 10, 45)},
      {"daily window, today's not yet over", MultiDayTimeWindow, 2, local(2024, 2, 27, 9, 45),
       local(2024, 2, 29, 10, 45), local(2024, 3, 2, 10, 40), false, local(2024, 2, 28, 9, 45),
       local(2024, 3, 1, 10, 45)},
      {"detail over April's end", TimeWindowDetail, 0, local(2024, 4, 30, 22, 45), local(2024, 4, 30, 23, 45),
       local(2024, 5, 1, 0, 20), false, local(2024, 4, 30, 23, 15), local(2024, 5, 1, 0, 15)},
      {"no report", NoGraph, 0, local(2024, 5, 9, 12, 0), local(2024, 5, 10, 12, 0),
       local(2024, 5, 10, 12, 5), false, local(2024, 5, 9, 12, 0), local(2024, 5, 10, 12, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedFixedClock clock(c.now.toUTC());
    GraphQuery q;
    q.graphType = c.type;
    q.increment = c.increment;
    q.SetStart(at(c.start));
    q.SetEnd(at(c.end));
    EXPECT_EQ(LiveWindow::endsNow(q, c.now.toUTC()), c.endsNow);
    const GraphQuery s = LiveWindow::slid(q, c.now.toUTC());
    EXPECT_EQ(s.GetStart().toUtc(), c.slidStart.toUTC());
    EXPECT_EQ(s.GetEnd().toUtc(), c.slidEnd.toUTC());
    // Only the window of the report's own type moves.
    GraphQuery rest = s;
    rest.SetStart(q.GetStart());
    rest.SetEnd(q.GetEnd());
    EXPECT_EQ(rest, q);
  }
}

}  // namespace
