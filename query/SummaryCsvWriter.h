#pragma once

#include "core/LevelUnit.h"

#include "query/SeriesStore.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>

// Comma-separated export of a Time Window Summary answer, every line ending
// in a line feed:
//   the session's label
//   "UID:" and the node (no blank, unlike the other reports' files)
//   "Time Window Summary"
//   " ," then "<MHz>," for each point of the first series
//   per series in slot order: its name and " (<level unit>)", then
//     ",<value>" for each point; a missing sample is an empty field
// Levels (average, maximum, minimum) carry the amplitude offset; percentages
// of time are written as they are. Every row name carries the level unit of
// the amplitude offset, "% Exceeding" rows included although their values are
// percentages: readers of these files key on that one row layout.
class SummaryCsvWriter {
public:
  void write(QTextStream& out, const QString& label, int32_t node, const SeriesStore& store,
             LevelUnit unit, const QStringList& thresholdNames) const;
};
