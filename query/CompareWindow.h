#pragma once

#include "core/CNBDateTime.h"
#include "query/GraphQuery.h"

#include <cstdint>

// Where the earlier period of a comparison lies. The earlier request is the
// shown one with only its window moved: type, statistics, increment and
// frequency stay, and so does the length, so the two results line up point
// by point.
//
// The ribbon-by-time types and the two line charts move in seconds: the
// earlier window is as many seconds long as the shown one. "1 day" and
// "7 days" move the start by calendar days of the user's clock, so a window
// keeps its clock times across a daylight-saving change. The two day types
// (Multi-Day, Multi-Day Time Window) move whole local days and keep the
// window's clock times at both ends, as their request is a daily window.
namespace CompareWindow {

enum Shift : int32_t {
  kPreviousPeriod = 0,  // the same length, ending where the shown report starts
  kOneDay = 1,
  kSevenDays = 2,
  kChosenStart = 3,  // the user's own start
};
constexpr int kShiftCount = 4;

// The earlier request. `chosenStart` is read only for kChosenStart (for the
// day types only its local date counts).
GraphQuery earlier(const GraphQuery& shown, int shift, const CNBDateTime& chosenStart = {});

// Seconds from the earlier window's start to the shown one's: what moves an
// earlier time onto the shown window.
int64_t offsetSeconds(const GraphQuery& shown, const GraphQuery& earlier);

// An earlier request that starts at or after the shown one's start, or
// whose times are out of the server's range, is refused.
bool acceptable(const GraphQuery& shown, const GraphQuery& earlier);

}  // namespace CompareWindow
