#include "query/SummaryCsvWriter.h"

#include "query/CsvFields.h"
#include "query/GraphType.h"
#include "query/StatisticName.h"
#include "resources/Strings.h"

#include <algorithm>

void SummaryCsvWriter::write(QTextStream& out, const QString& label, int32_t node, const SeriesStore& store,
                             LevelUnit unit, const QStringList& thresholdNames) const {
  const QString comma = CsvFields::separator();
  const QString lf = CsvFields::lineFeed();
  const int count = std::clamp(store.count, 0, Statistic::kCount);
  const auto points = [](const SeriesStore::Series& s) {
    return std::clamp(s.entryCount, 0, Blocks::kMaxEntries);
  };

  CsvFields::writeHeading(out, label, Strings::IDS_CSV_UID, node, Strings::IDS_TYPE_TIME_WINDOW_SUMMARY);

  out << Strings::LoadString(Strings::IDS_BLANK) << comma;
  if (count > 0) {
    const SeriesStore::Series& first = store.series[0];
    for (int i = 0; i < points(first); ++i) out << CsvFields::number(first.frequencies[i]) << comma;
  }
  out << lf;

  const QString unitText = unit.text();
  for (int k = 0; k < count; ++k) {
    const SeriesStore::Series& s = store.series[k];
    const bool percentage = Statistic::isPercentage(s.statistic);
    out << statisticName(s.statistic, thresholdNames) << " (" << unitText << ")";
    for (int i = 0; i < points(s); ++i)
      out << comma
          << (percentage ? CsvFields::value(s.values[i]) : CsvFields::level(s.values[i], unit.offset()));
    out << lf;
  }
}
