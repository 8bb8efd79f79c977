#include "query/DayWindow.h"

namespace {
constexpr int64_t kDay = CNBDateTime::kSecondsPerDay;
int64_t secondOfDay(int64_t seconds) { return CNBDateTime::SecondOfDay(seconds); }
}  // namespace

DayWindow DayWindow::of(const CNBDateTime& start, const CNBDateTime& end) {
  const int64_t startSeconds = start.ToSeconds();
  const CNBDateTime startClockOnEndDate =
      CNBDateTime::FromLocal(end.toLocal().date(), start.toLocal().time());
  const int64_t s =
      startSeconds - secondOfDay(startSeconds) + secondOfDay(startClockOnEndDate.ToSeconds());
  const int64_t e = end.ToSeconds();

  int64_t lastDay = CNBDateTime::DayStart(e);
  const int64_t windowStart = secondOfDay(s);
  int64_t windowEnd = secondOfDay(e);
  if (windowEnd <= windowStart) {
    lastDay -= kDay;
    windowEnd += kDay;
  }
  return DayWindow{static_cast<int32_t>(s - windowStart), static_cast<int32_t>(lastDay),
                   static_cast<int32_t>(windowStart), static_cast<int32_t>(windowEnd)};
}
