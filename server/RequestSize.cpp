#include "server/RequestSize.h"

namespace RequestSize {

namespace {

constexpr int64_t kMinute = 60;
constexpr int64_t kMinutesPerDay = 1440;

int64_t floorToMinute(int64_t t) {
  const int64_t m = t % kMinute;
  return t - (m < 0 ? m + kMinute : m);
}

}  // namespace

// The counts are the dialog's rounded quotients worked in integers: C++
// division truncates toward zero as the rule does, and exact halves round the
// same way on every platform.
int64_t spanMinutes(int64_t start, int64_t end) {
  return (floorToMinute(end) - floorToMinute(start)) / kMinute;
}

int64_t points(int64_t start, int64_t end, int64_t interval) {
  // trunc((minutes + 0.5) / (interval / 60) + 0.5)
  return (2 * kMinute * spanMinutes(start, end) + kMinute + interval) / (2 * interval);
}

int64_t ribbons(int64_t start, int64_t end, int64_t interval, bool upToTheSecond) {
  // trunc(minutes / (interval / 60) + 0.5)
  const int64_t n = (2 * kMinute * spanMinutes(start, end) + interval) / (2 * interval);
  return upToTheSecond ? n + 1 : n;
}

int64_t days(int64_t start, int64_t end) {
  // trunc(minutes / 1440 + 0.5)
  return (2 * spanMinutes(start, end) + kMinutesPerDay) / (2 * kMinutesPerDay);
}

}  // namespace RequestSize
