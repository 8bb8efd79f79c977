#include "query/DayWindow.h"

#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& os, const DayWindow& w) {
  return os << "{" << w.firstDay << ", " << w.lastDay << ", " << w.windowStart << ", " << w.windowEnd << "}";
}

namespace {

constexpr int32_t kDay = 86400;

int32_t utcDay(int y, int m, int d) {
  return static_cast<int32_t>(utc(y, m, d, 0, 0).toSecsSinceEpoch());
}

struct WindowCase {
  const char* name;
  QDateTime start;
  QDateTime end;
  DayWindow expected;
};

void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.name;
}

class DayWindowCases : public ::testing::TestWithParam<WindowCase> {};

TEST_P(DayWindowCases, FromStartAndEnd) {
  const WindowCase& c = GetParam();
  EXPECT_EQ(DayWindow::of(at(c.start), at(c.end)), c.expected);
}

// The test zone is Berlin: UTC+1 in winter, UTC+2 from 2024-03-31 02:00.
INSTANTIATE_TEST_SUITE_P(
    Berlin, DayWindowCases,
    ::testing::Values(WindowCase{"DaytimeInWinter",
                                 local(2024, 1, 10, 8, 0),
                                 local(2024, 1, 15, 17, 30),
                                 {utcDay(2024, 1, 10), utcDay(2024, 1, 15), 7 * 3600, 16 * 3600 + 1800}},
                      // 22:00 to 06:00 local is 21:00 to 05:00 UTC: the window runs past
                      // midnight, so its last day is the one before the end's.
                      WindowCase{"AcrossMidnight",
                                 local(2024, 1, 10, 22, 0),
                                 local(2024, 1, 15, 6, 0),
                                 {utcDay(2024, 1, 10), utcDay(2024, 1, 14), 21 * 3600, 5 * 3600 + kDay}},
                      // Local midnight to midnight (Multi-Day) is 23:00 to 23:00 UTC: a
                      // whole day's window.
                      WindowCase{"WholeDays",
                                 local(2024, 1, 10, 0, 0),
                                 local(2024, 1, 15, 0, 0),
                                 {utcDay(2024, 1, 9), utcDay(2024, 1, 13), 23 * 3600, 23 * 3600 + kDay}},
                      // Start in winter, end in summer: 08:00 is read in the end's offset
                      // (06:00 UTC), so every day's window is 08:00 to 17:00 summer time.
                      WindowCase{"StartBeforeDaylightSaving",
                                 local(2024, 3, 20, 8, 0),
                                 local(2024, 4, 5, 17, 0),
                                 {utcDay(2024, 3, 20), utcDay(2024, 4, 5), 6 * 3600, 15 * 3600}},
                      WindowCase{"EndOnTheSpringSwitchDay",
                                 local(2024, 3, 25, 8, 0),
                                 local(2024, 3, 31, 17, 0),
                                 {utcDay(2024, 3, 25), utcDay(2024, 3, 31), 6 * 3600, 15 * 3600}},
                      WindowCase{"StartAfterDaylightSavingEnds",
                                 local(2024, 10, 20, 8, 0),
                                 local(2024, 11, 5, 17, 0),
                                 {utcDay(2024, 10, 20), utcDay(2024, 11, 5), 7 * 3600, 16 * 3600}},
                      // 00:30 local on the end's winter date is 23:30 UTC the day before.
                      WindowCase{
                          "StartJustAfterLocalMidnight",
                          local(2024, 10, 20, 0, 30),
                          local(2024, 11, 5, 6, 0),
                          {utcDay(2024, 10, 19), utcDay(2024, 11, 4), 23 * 3600 + 1800, 5 * 3600 + kDay}}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
