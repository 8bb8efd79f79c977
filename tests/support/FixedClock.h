#pragma once

#include "core/Clock.h"

// Fixes the clock for one scope.
class ScopedFixedClock {
public:
  explicit ScopedFixedClock(const QDateTime& utc) { Clock::setFixed(utc); }
  ~ScopedFixedClock() { Clock::setFixed(std::nullopt); }
  ScopedFixedClock(const ScopedFixedClock&) = delete;
  ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;
};
