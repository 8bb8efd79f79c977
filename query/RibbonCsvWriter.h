#pragma once

#include "core/LevelUnit.h"

#include "query/RibbonSet.h"

#include <QString>
#include <QTextStream>
#include <cstdint>

// Comma-separated export of a Time Window Detail, 24 Hour, Multi-Day or
// Multi-Day Time Window answer, every line ending in a line feed:
//   the session's label
//   "UID: " and the node
//   the report type's name
//   " " then ",<MHz>" for each of the N frequencies of ribbon 0
//   per ribbon from R-1 down to 0 (the order the server sent them): the
//     ribbon's axis label (its start label), then ",<value>" for each entry;
//     a missing sample is an empty field, a ribbon without any sample is
//     left out
//   an empty line
// Multi-Day levels are written with the amplitude offset added, so they read
// in the user's unit; percentages and every Time Window Detail and 24 Hour
// value are written as the server sent them.
class RibbonCsvWriter {
public:
  void write(QTextStream& out, const QString& label, int32_t node, int32_t graphType, const RibbonSet& set,
             LevelUnit unit) const;
};
