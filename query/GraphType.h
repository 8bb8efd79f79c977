#pragma once

#include <cstdint>

// Report types, numbered as the positions in the New Graph type combo.
enum GraphType : int32_t {
  TimeWindowSummary = 0,
  OneFreqTimeWindow = 1,
  TimeWindowDetail = 2,
  TwentyFourHour = 3,
  MultiDay = 4,
  MultiDayTimeWindow = 5,
  NoGraph = 6,  // the frame's type before any report has been shown
};

constexpr int kGraphTypeCount = 6;

constexpr bool isValidGraphType(int32_t t) {
  return t >= 0 && t < kGraphTypeCount;
}
// Types 2 to 5 draw ribbons of frequency profiles in 3D; 0 and 1 draw 2D lines.
constexpr bool isRibbonType(int32_t t) {
  return t >= TimeWindowDetail && t <= MultiDayTimeWindow;
}
// The two types whose increment the user chooses; the others have none or a
// fixed one.
constexpr bool choosesIncrement(int32_t t) {
  return t == OneFreqTimeWindow || t == TimeWindowDetail;
}
// Types 0 and 1 choose several statistics with check boxes; the others one
// statistic with radio buttons.
constexpr bool usesCheckBoxStatistics(int32_t t) {
  return t == TimeWindowSummary || t == OneFreqTimeWindow;
}

// Time increments, numbered as the positions in the increment combo.
namespace Increment {
constexpr int32_t k15Min = 0;
constexpr int32_t k1Hour = 1;
constexpr int32_t k1Day = 2;
constexpr int kCount = 3;

constexpr bool isValid(int32_t i) {
  return i >= 0 && i < kCount;
}
// Step in minutes (point counts); unknown indexes count as 15 minutes.
constexpr int minutes(int32_t i) {
  return i == k1Hour ? 60 : i == k1Day ? 1440 : 15;
}
// Step in seconds (server requests).
constexpr int seconds(int32_t i) {
  return minutes(i) * 60;
}
}  // namespace Increment

// Statistic indexes: the radio index of types 2 to 5, the slot of the
// check-box flags of types 0 and 1, and the trace numbers of the 2D reports.
namespace Statistic {
constexpr int kAverage = 0;
constexpr int kMaximum = 1;
constexpr int kMinimum = 2;
constexpr int kThreshold1 = 3;  // % of time beyond threshold 1; 4 to 6 follow
constexpr int kCount = 7;

constexpr bool isValid(int32_t i) {
  return i >= 0 && i < kCount;
}
constexpr bool isPercentage(int i) {
  return i >= kThreshold1 && i < kCount;
}
}  // namespace Statistic
