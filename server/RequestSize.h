#pragma once

#include <cstdint>

// How many points, blocks or days a request answers, counted the one way the
// New Graph dialog limits them and the server answers them. Times are seconds
// since 1970 UTC; an interval is in seconds and must be positive.
namespace RequestSize {

constexpr int64_t kQuarterHour = 900;

// Whole minutes from start to end, the seconds of each dropped first.
int64_t spanMinutes(int64_t start, int64_t end);

// Points of a series answer: half a minute is added, then the span in
// intervals is rounded to the nearest.
int64_t points(int64_t start, int64_t end, int64_t interval);

// Blocks of a ribbon answer: the span in intervals rounded to the nearest,
// one more when the end was taken to the second.
int64_t ribbons(int64_t start, int64_t end, int64_t interval, bool upToTheSecond);

// Days of a day answer: the span in days rounded to the nearest.
int64_t days(int64_t start, int64_t end);

// An end taken to the second ("Up to the Second") rather than from the time
// fields, which always hold a quarter hour.
constexpr bool endsToTheSecond(int64_t end) {
  return end % kQuarterHour != 0;
}

}  // namespace RequestSize
