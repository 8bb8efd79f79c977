#include "query/ComparisonCsvWriter.h"

#include "query/ComparisonMatch.h"
#include "query/CsvFields.h"
#include "query/StatisticName.h"
#include "resources/Strings.h"

#include <algorithm>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

int typeNameId(int32_t graphType) {
  switch (graphType) {
    case TimeWindowSummary: return Strings::IDS_TYPE_TIME_WINDOW_SUMMARY;
    case OneFreqTimeWindow: return Strings::IDS_TYPE_ONE_FREQ_TIME_WINDOW;
    case TwentyFourHour: return Strings::IDS_TYPE_24_HOUR;
    case MultiDay: return Strings::IDS_TYPE_MULTI_DAY;
    case MultiDayTimeWindow: return Strings::IDS_TYPE_MULTI_DAY_TIME_WINDOW;
    default: return Strings::IDS_TYPE_TIME_WINDOW_DETAIL;
  }
}

void writeStart(QTextStream& out, const QString& label, int32_t node, const Comparison& c, int firstColumnId,
                int secondColumnId) {
  const QString comma = CsvFields::separator();
  CsvFields::writeHeading(out, label, Strings::IDS_UI_CSV_UID, node, typeNameId(c.shown.graphType));
  out << text(Strings::IDS_UI_COMPARE_HEADER)
             .arg(c.earlier.GetStart().LocalDateTimeText(), c.earlier.GetEnd().LocalDateTimeText())
      << CsvFields::lineFeed();
  out << text(firstColumnId) << comma << text(secondColumnId) << comma
      << text(Strings::IDS_UI_COMPARE_CURRENT) << comma << text(Strings::IDS_UI_COMPARE_EARLIER) << comma
      << text(Strings::IDS_UI_COMPARE_DIFFERENCE) << CsvFields::lineFeed();
}

void writePoint(QTextStream& out, const QString& row, const QString& at, double current, double earlier,
                double offset) {
  const QString comma = CsvFields::separator();
  out << row << comma << at << comma << CsvFields::level(current, offset) << comma
      << CsvFields::level(earlier, offset) << comma
      << CsvFields::value(ComparisonMatch::difference(current, earlier)) << CsvFields::lineFeed();
}

}  // namespace

void ComparisonCsvWriter::writeRibbons(QTextStream& out, const QString& label, int32_t node,
                                       const RibbonSet& current, const Comparison& comparison,
                                       LevelUnit unit) const {
  writeStart(out, label, node, comparison, Strings::IDS_UI_COMPARE_PERIOD, Strings::IDS_UI_MHZ);
  const ComparisonMatch::RibbonDifference d = ComparisonMatch::ribbons(current, comparison.ribbons);
  const double offset = d.percent ? 0.0 : unit.offset();
  for (int r = 0; r < d.rows; ++r) {
    const QString row = r < static_cast<int>(current.startLabels.size()) ? current.startLabels[r] : QString();
    const Blocks::Values& values = current.values(r);
    const Blocks::Values& frequencies = current.frequencies(0);
    for (int k = 0; k < d.columns; ++k)
      writePoint(out, row, CsvFields::number(frequencies[k]), values[k],
                 d.earlier[static_cast<size_t>(r * d.columns + k)], offset);
  }
  out << CsvFields::lineFeed();
}

void ComparisonCsvWriter::writeSeries(QTextStream& out, const QString& label, int32_t node,
                                      const SeriesStore& current, const Comparison& comparison,
                                      LevelUnit unit, const QStringList& thresholdNames) const {
  const bool byFrequency = comparison.shown.graphType == TimeWindowSummary;
  writeStart(out, label, node, comparison, Strings::IDS_UI_COMPARE_STATISTIC,
             byFrequency ? Strings::IDS_UI_MHZ : Strings::IDS_UI_COMPARE_TIME);
  static const SeriesStore::Series kNone;
  const int count = std::clamp(current.count, 0, static_cast<int>(current.series.size()));
  for (int i = 0; i < count; ++i) {
    const SeriesStore::Series& s = current.series[static_cast<size_t>(i)];
    if (!s.hasData) continue;
    const SeriesStore::Series* then = ComparisonMatch::statistic(comparison.series, s.statistic);
    const std::vector<double> earlier = ComparisonMatch::series(s, then ? *then : kNone, byFrequency);
    const double offset = Statistic::isPercentage(s.statistic) ? 0.0 : unit.offset();
    const QString name = statisticName(s.statistic, thresholdNames);
    for (size_t k = 0; k < earlier.size(); ++k) {
      const QString at = byFrequency
                             ? CsvFields::number(s.frequencies[k])
                             : CNBDateTime::FromSeconds(static_cast<int32_t>(s.times[k])).LocalDateTimeText();
      writePoint(out, name, at, s.values[k], earlier[k], offset);
    }
  }
  out << CsvFields::lineFeed();
}
