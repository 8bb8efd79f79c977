#include "query/DayWindow.h"

#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& os, const DayWindow& w) {
  return os << "{" << w.firstDay << ", " << w.lastDay << ", " << w.windowStart << ", " << w.windowEnd << "}";
}

namespace {

int32_t utcDay(int m, int d) {
  return static_cast<int32_t>(utc(2024, m, d, 0, 0).toSecsSinceEpoch());
}
constexpr int32_t h(double hours) {
  return static_cast<int32_t>(hours * 3600);
}

// The test zone is Berlin: UTC+1 in winter, UTC+2 from 2024-03-31 02:00.
TEST(DayWindow, FromStartAndEnd) {
  const struct {
    QDateTime start, end;
    DayWindow expected;
  } cases[] = {
      {local(2024, 1, 10, 8, 0), local(2024, 1, 15, 17, 30), {utcDay(1, 10), utcDay(1, 15), h(7), h(16.5)}},
      // 22:00 to 06:00 local is 21:00 to 05:00 UTC: the window runs past
      // midnight, so its last day is the one before the end's.
      {local(2024, 1, 10, 22, 0), local(2024, 1, 15, 6, 0), {utcDay(1, 10), utcDay(1, 14), h(21), h(29)}},
      // Local midnight to midnight (Multi-Day) is 23:00 to 23:00 UTC: a whole day's window.
      {local(2024, 1, 10, 0, 0), local(2024, 1, 15, 0, 0), {utcDay(1, 9), utcDay(1, 13), h(23), h(47)}},
      // Start in winter, end in summer: 08:00 is read in the end's offset
      // (06:00 UTC), so every day's window is 08:00 to 17:00 summer time.
      {local(2024, 3, 20, 8, 0), local(2024, 4, 5, 17, 0), {utcDay(3, 20), utcDay(4, 5), h(6), h(15)}},
      {local(2024, 10, 20, 8, 0), local(2024, 11, 5, 17, 0), {utcDay(10, 20), utcDay(11, 5), h(7), h(16)}},
      // 00:30 local on the end's winter date is 23:30 UTC the day before.
      {local(2024, 10, 20, 0, 30), local(2024, 11, 5, 6, 0), {utcDay(10, 19), utcDay(11, 4), h(23.5), h(29)}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DayWindow::of(at(c.start), at(c.end)), c.expected)
        << c.start.toString(Qt::ISODate).toStdString();
}

}  // namespace
