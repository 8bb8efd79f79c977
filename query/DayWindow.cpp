#include "query/DayWindow.h"

namespace {

constexpr int64_t kDay = 86400;

int64_t floorMod(int64_t a, int64_t b) {
  const int64_t m = a % b;
  return m < 0 ? m + b : m;
}

}  // namespace

DayWindow DayWindow::of(const CNBDateTime& start, const CNBDateTime& end) {
  const int64_t startSeconds = start.ToSeconds();
  const CNBDateTime startClockOnEndDate =
      CNBDateTime::FromLocal(end.toLocal().date(), start.toLocal().time());
  const int64_t s =
      startSeconds - floorMod(startSeconds, kDay) + floorMod(startClockOnEndDate.ToSeconds(), kDay);
  const int64_t e = end.ToSeconds();

  int64_t lastDay = e - floorMod(e, kDay);
  const int64_t windowStart = floorMod(s, kDay);
  int64_t windowEnd = floorMod(e, kDay);
  if (windowEnd <= windowStart) {
    lastDay -= kDay;
    windowEnd += kDay;
  }
  return DayWindow{static_cast<int32_t>(s - windowStart), static_cast<int32_t>(lastDay),
                   static_cast<int32_t>(windowStart), static_cast<int32_t>(windowEnd)};
}
