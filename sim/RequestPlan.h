#pragma once

#include "server/HResult.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// What a request will answer, worked out (and its arguments checked) when it
// starts: the kind, the periods of its blocks or points, and the span of
// scans to read for all of them in one query.
struct Period {
  int64_t start = 0;  // seconds since 1970 UTC, inclusive
  int64_t end = 0;    // exclusive
  bool operator==(const Period&) const = default;
};

enum class RequestKind { Summary, Frequency, Ribbon, Day };

const char* toString(RequestKind kind);

struct RequestPlan {
  RequestKind kind = RequestKind::Summary;
  int statistic = 0;
  // Ribbon and day: one period per block, in the order the blocks are sent
  // (latest first). Frequency: one period per point, earliest first.
  // Summary: the one window.
  std::vector<Period> periods;
  Period scanSpan;          // every scan any period needs
  int32_t labelTime = 0;    // summary and frequency blocks
  int32_t windowStart = 0;  // day blocks
  int32_t windowEnd = 0;
  std::size_t column = 0;  // frequency: the plan frequency answered

  // Blocks of the answer: one for summary and frequency requests.
  std::size_t blockCount() const;

  static constexpr int32_t kDay = 86400;

  static HRESULT summary(int32_t start, int32_t end, int32_t statistic, RequestPlan& out);
  static HRESULT frequency(int32_t start, int32_t end, int32_t interval, int32_t statistic,
                           double frequencyMHz, std::span<const double> plan, RequestPlan& out);
  static HRESULT ribbon(int32_t start, int32_t end, int32_t interval, int32_t statistic, RequestPlan& out);
  static HRESULT day(int32_t firstDay, int32_t lastDay, int32_t windowStart, int32_t windowEnd,
                     int32_t statistic, RequestPlan& out);

  // The plan frequency nearest `mhz`; kInvalidArgument when it lies further
  // than half a plan step from all of them.
  static HRESULT nearestFrequency(std::span<const double> plan, double mhz, std::size_t& column);
};
