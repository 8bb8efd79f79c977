#pragma once

#include "core/LevelUnit.h"

#include "query/SeriesStore.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>

// Comma-separated export of a One Frequency Time Window answer. Time runs
// down the rows, one column per statistic, so the file opens in a
// spreadsheet as a ready table:
//   the session's label
//   "UID: " and the node
//   "One Freq. Time Window"
//   "Frequency:,<MHz>,MHz"
//   "Time:" then ",<name> (<unit>)" per series in slot order; levels carry
//     the amplitude offset's unit, "% Exceeding" columns "%"
//   per point of the first series: its time as local "yyyy-MM-dd HH:mm:ss"
//     (sortable and read by every spreadsheet whatever its locale), then
//     ",<value>" per series; a missing sample, or a point a shorter series
//     does not have, is an empty field
//   an empty line
// Every line ends in a line feed. The series of one answer share their
// times (one request window and interval), so the first series' times stand
// for all.
class FrequencySeriesCsvWriter {
public:
  void write(QTextStream& out, const QString& label, int32_t node, double frequencyMHz,
             const SeriesStore& store, LevelUnit unit, const QStringList& thresholdNames) const;
};
