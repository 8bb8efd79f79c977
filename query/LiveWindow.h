#pragma once

#include "query/GraphQuery.h"

#include <QDateTime>

// When a report can follow the server live, and the request a follow
// refresh sends. A report follows when its window ends now: its end lies at
// most one of its steps before the current time (an "Up to the Second" end
// a moment ago, a quarter-hour end at the last quarter hour, a Multi-Day end
// at today's midnight). Sliding keeps the window's length: windows shorter
// than days move by seconds (the same number of ribbons or points whatever
// the clock does), the day reports move by whole local days and keep the
// clock times the user chose, across a daylight-saving change too.
namespace LiveWindow {

// The end of the step that starts at the request's end: a quarter hour after
// it for a Time Window Summary, the increment for One Frequency and Time
// Window Detail, an hour for 24 Hour, the same clock time on the next local
// day for the day reports.
QDateTime stepAfterEnd(const GraphQuery& query);

// Whether the report of `query` ends at `nowUtc`.
bool endsNow(const GraphQuery& query, const QDateTime& nowUtc);

// `query` with its window moved forward to end at `nowUtc` (to the second
// for an end to the second, at the last quarter hour for one on a quarter
// hour, on the latest day whose end clock time has passed for the day
// reports); unchanged when it would not move forward.
GraphQuery slid(const GraphQuery& query, const QDateTime& nowUtc);

}  // namespace LiveWindow
