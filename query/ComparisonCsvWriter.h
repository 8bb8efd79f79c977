#pragma once

#include "core/LevelUnit.h"
#include "query/Comparison.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"

#include <QStringList>
#include <QTextStream>
#include <cstdint>

// Comma-separated export of a report set against an earlier period, one
// point a line, every line ending in a line feed:
//   the session's label, "UID: " and the node, the report type's name
//   "Compared with <earlier start> - <earlier end>"
//   the column names
//   ribbons: the ribbon's start label, MHz, current, earlier, difference,
//     ribbon 0 first, then each frequency ascending;
//   lines: the statistic's name, MHz (Time Window Summary) or the local
//     time (One Frequency), current, earlier, difference
//   an empty line
// Levels carry the amplitude offset, percentages and differences do not; a
// missing sample (and a difference with one) is an empty field. The points
// are matched as the charts match them (ComparisonMatch).
class ComparisonCsvWriter {
public:
  void writeRibbons(QTextStream& out, const QString& label, int32_t node, const RibbonSet& current,
                    const Comparison& comparison, LevelUnit unit) const;
  void writeSeries(QTextStream& out, const QString& label, int32_t node, const SeriesStore& current,
                   const Comparison& comparison, LevelUnit unit, const QStringList& thresholdNames) const;
};
