#include "sim/RequestPlan.h"

#include "server/Blocks.h"
#include "server/RequestSize.h"
#include "sim/Statistics.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

HRESULT checkWindow(int32_t start, int32_t end, int32_t statistic) {
  if (!Statistics::isValid(statistic) || end <= start) return hr::kInvalidArgument;
  return hr::S_OK;
}

int64_t ceilDiv(int64_t a, int64_t b) {
  return (a + b - 1) / b;
}

// The largest daylight-saving shift in use.
constexpr int64_t kClockShift = 3600;

// A window shorter than half a step still answers one block or point.
int64_t atLeastOne(int64_t count) {
  return std::max<int64_t>(count, 1);
}

}  // namespace

const char* toString(RequestKind kind) {
  switch (kind) {
    case RequestKind::Summary: return "summary";
    case RequestKind::Frequency: return "frequency";
    case RequestKind::Ribbon: return "ribbon";
    case RequestKind::Day: return "day";
  }
  return "?";
}

std::size_t RequestPlan::blockCount() const {
  return kind == RequestKind::Ribbon || kind == RequestKind::Day ? periods.size() : 1;
}

HRESULT RequestPlan::summary(int32_t start, int32_t end, int32_t statistic, RequestPlan& out) {
  if (const HRESULT h = checkWindow(start, end, statistic); h != hr::S_OK) return h;
  out = RequestPlan{};
  out.kind = RequestKind::Summary;
  out.statistic = statistic;
  out.periods = {{start, end}};
  out.scanSpan = {start, end};
  out.labelTime = start;
  return hr::S_OK;
}

HRESULT RequestPlan::frequency(int32_t start, int32_t end, int32_t interval, int32_t statistic,
                               double frequencyMHz, std::span<const double> plan, RequestPlan& out) {
  if (const HRESULT h = checkWindow(start, end, statistic); h != hr::S_OK) return h;
  if (interval <= 0) return hr::kInvalidArgument;
  const int64_t points = atLeastOne(RequestSize::points(start, end, interval));
  if (points > Blocks::kMaxEntries) return hr::kOverflow;
  std::size_t column = 0;
  if (const HRESULT h = nearestFrequency(plan, frequencyMHz, column); h != hr::S_OK) return h;
  out = RequestPlan{};
  out.kind = RequestKind::Frequency;
  out.statistic = statistic;
  out.column = column;
  // Points keep the interval's grid from the start; the last one runs to the
  // end, short or holding the remainder the count rounded away.
  const bool lastToEnd = points <= ceilDiv(int64_t{end} - start, interval);
  for (int64_t k = 0; k < points; ++k) {
    const int64_t from = start + k * interval;
    out.periods.push_back({from, k + 1 == points && lastToEnd ? end : from + interval});
  }
  out.scanSpan = {start, out.periods.back().end};
  out.labelTime = start;
  return hr::S_OK;
}

HRESULT RequestPlan::ribbon(int32_t start, int32_t end, int32_t interval, int32_t statistic,
                            RequestPlan& out) {
  if (const HRESULT h = checkWindow(start, end, statistic); h != hr::S_OK) return h;
  if (interval <= 0) return hr::kInvalidArgument;
  const int64_t count =
      atLeastOne(RequestSize::ribbons(start, end, interval, RequestSize::endsToTheSecond(end)));
  if (count > Blocks::kMaxBlocks) return hr::kOverflow;
  out = RequestPlan{};
  out.kind = RequestKind::Ribbon;
  out.statistic = statistic;
  // The client files the first block as the latest ribbon, so the answer
  // runs backwards from the end in whole intervals. Only when the count is
  // the window's ceiling does the earliest block meet the start, cut short;
  // a smaller count leaves the earliest remainder out, a larger one (an end
  // to the second, rounded up) reaches back before the start.
  const bool cutAtStart = count <= ceilDiv(int64_t{end} - start, interval);
  for (int64_t k = 0; k < count; ++k) {
    const int64_t to = end - k * interval;
    out.periods.push_back({cutAtStart ? std::max<int64_t>(to - interval, start) : to - interval, to});
  }
  if (out.periods.back().start < INT32_MIN) return hr::kInvalidArgument;
  out.scanSpan = {out.periods.back().start, end};
  return hr::S_OK;
}

HRESULT RequestPlan::day(int32_t firstDay, int32_t lastDay, int32_t windowStart, int32_t windowEnd,
                         int32_t statistic, RequestPlan& out) {
  if (!Statistics::isValid(statistic) || lastDay < firstDay || windowStart < 0 || windowEnd <= windowStart ||
      windowEnd > 2 * kDay)
    return hr::kInvalidArgument;
  // The days counted from the first window's start to the last one's end;
  // when that is fewer than the windows, the latest are kept.
  const int64_t windows = (int64_t{lastDay} - firstDay) / kDay + 1;
  const int64_t from = int64_t{firstDay} + windowStart, to = int64_t{lastDay} + windowEnd;
  int64_t count = std::min(windows, atLeastOne(RequestSize::days(from, to)));
  // The first window carries the start's clock time in the last day's offset,
  // so across a clock change the client counted a span up to an hour shorter:
  // a request one over the limit only by that hour is answered at the limit.
  if (count == Blocks::kMaxBlocks + 1 && RequestSize::days(from + kClockShift, to) <= Blocks::kMaxBlocks)
    count = Blocks::kMaxBlocks;
  if (count > Blocks::kMaxBlocks) return hr::kOverflow;
  out = RequestPlan{};
  out.kind = RequestKind::Day;
  out.statistic = statistic;
  out.windowStart = windowStart;
  out.windowEnd = windowEnd;
  for (int64_t k = 0; k < count; ++k) {
    const int64_t day = int64_t{lastDay} - k * kDay;
    out.periods.push_back({day + windowStart, day + windowEnd});
  }
  // Periods are written as 32-bit times.
  if (out.periods.front().end > INT32_MAX || out.periods.back().start < INT32_MIN)
    return hr::kInvalidArgument;
  out.scanSpan = {out.periods.back().start, out.periods.front().end};
  return hr::S_OK;
}

HRESULT RequestPlan::nearestFrequency(std::span<const double> plan, double mhz, std::size_t& column) {
  if (plan.empty() || !std::isfinite(mhz)) return hr::kInvalidArgument;
  std::size_t best = 0;
  for (std::size_t i = 1; i < plan.size(); ++i)
    if (std::abs(plan[i] - mhz) < std::abs(plan[best] - mhz)) best = i;
  // Half the spacing to the neighbour on the side of the request; a plan of
  // one frequency accepts only (nearly) that frequency.
  double step = 0.0;
  if (plan.size() > 1) {
    const std::size_t other =
        (mhz >= plan[best] && best + 1 < plan.size()) || best == 0 ? best + 1 : best - 1;
    step = std::abs(plan[other] - plan[best]);
  }
  constexpr double kSlack = 1e-9;
  if (std::abs(plan[best] - mhz) > step / 2 + kSlack) return hr::kInvalidArgument;
  column = best;
  return hr::S_OK;
}
