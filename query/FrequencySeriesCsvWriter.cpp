#include "query/FrequencySeriesCsvWriter.h"

#include "query/CsvFields.h"
#include "query/GraphType.h"
#include "query/StatisticName.h"
#include "resources/Strings.h"

#include <QDateTime>
#include <algorithm>

void FrequencySeriesCsvWriter::write(QTextStream& out, const QString& label, int32_t node,
                                     double frequencyMHz, const SeriesStore& store, LevelUnit unit,
                                     const QStringList& thresholdNames) const {
  const QString comma = CsvFields::separator();
  const QString lf = CsvFields::lineFeed();
  const int count = std::clamp(store.count, 0, Statistic::kCount);
  const auto points = [](const SeriesStore::Series& s) {
    return std::clamp(s.entryCount, 0, Blocks::kMaxEntries);
  };

  CsvFields::writeHeading(out, label, Strings::IDS_UI_CSV_UID, node, Strings::IDS_TYPE_ONE_FREQ_TIME_WINDOW);
  out << Strings::LoadString(Strings::IDS_LABEL_FREQUENCY) << comma << CsvFields::number(frequencyMHz)
      << comma << Strings::LoadString(Strings::IDS_UI_MHZ) << lf;

  const QString levelUnit = unit.text();
  const QString percentUnit = Strings::LoadString(Strings::IDS_UI_UNIT_PERCENT);
  out << Strings::LoadString(Strings::IDS_UI_HDR_TIME);
  for (int k = 0; k < count; ++k) {
    const int statistic = store.series[k].statistic;
    out << comma << statisticName(statistic, thresholdNames) << " ("
        << (Statistic::isPercentage(statistic) ? percentUnit : levelUnit) << ")";
  }
  out << lf;

  const int rows = count > 0 ? points(store.series[0]) : 0;
  for (int i = 0; i < rows; ++i) {
    const QDateTime time = QDateTime::fromSecsSinceEpoch(store.series[0].times[i], Qt::UTC).toLocalTime();
    out << time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    for (int k = 0; k < count; ++k) {
      const SeriesStore::Series& s = store.series[k];
      out << comma;
      if (i >= points(s)) continue;
      out << (Statistic::isPercentage(s.statistic) ? CsvFields::value(s.values[i])
                                                   : CsvFields::level(s.values[i], unit.offset()));
    }
    out << lf;
  }
  out << lf;
}
