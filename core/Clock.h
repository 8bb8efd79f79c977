#pragma once

#include <QDateTime>
#include <optional>

// The one source of "now" in the program. Tests fix it so that time-dependent
// rules (last quarter hour, dates beyond today) give the same answer every run.
class Clock {
public:
  // Current UTC time, to the millisecond.
  static QDateTime nowUtc();

  // Fixes "now" until reset; std::nullopt returns to the system clock.
  static void setFixed(std::optional<QDateTime> utc);
};
