#pragma once

#include "core/CNBDateTime.h"

#include <cstdint>

// What a Multi-Day or Multi-Day Time Window request asks the server for: the
// UTC days of the first and the last block and the window within each day, in
// seconds from that day's 00:00 UTC. A window that crosses midnight ends past
// 86400 and its last day is the day before the end's.
struct DayWindow {
  int32_t firstDay = 0;     // seconds since 1970, a UTC midnight
  int32_t lastDay = 0;      // seconds since 1970, a UTC midnight
  int32_t windowStart = 0;  // 0 .. 86399
  int32_t windowEnd = 0;    // windowStart+1 .. windowStart+86400

  // From the request's start and end (UTC values). The start's local clock
  // time is read on the end's local date, so when a daylight-saving change
  // lies between the two the window keeps the clock times the user chose, in
  // the offset of the last day.
  static DayWindow of(const CNBDateTime& start, const CNBDateTime& end);

  bool operator==(const DayWindow&) const = default;
};
