#include "query/RibbonCsvWriter.h"

#include "query/CsvFields.h"
#include "query/GraphType.h"
#include "query/NoData.h"
#include "resources/Strings.h"

#include <algorithm>

namespace {

int typeNameId(int32_t graphType) {
  switch (graphType) {
    case TwentyFourHour: return Strings::IDS_TYPE_24_HOUR;
    case MultiDay: return Strings::IDS_TYPE_MULTI_DAY;
    case MultiDayTimeWindow: return Strings::IDS_TYPE_MULTI_DAY_TIME_WINDOW;
    default: return Strings::IDS_TYPE_TIME_WINDOW_DETAIL;
  }
}

}  // namespace

void RibbonCsvWriter::write(QTextStream& out, const QString& label, int32_t node, int32_t graphType,
                            const RibbonSet& set, LevelUnit unit) const {
  const QString comma = CsvFields::separator();
  const QString lf = CsvFields::lineFeed();
  const std::size_t stored = set.kind == RibbonSet::Kind::Day ? set.days.size() : set.ribbons.size();
  const int r =
      std::clamp(set.ribbonCount, 0, static_cast<int>(std::min<std::size_t>(stored, Blocks::kMaxBlocks)));
  const int n = r > 0 ? std::clamp(set.frequencyCount, 0, Blocks::kMaxEntries) : 0;
  const bool addOffset = (graphType == MultiDay || graphType == MultiDayTimeWindow) && !set.percent;

  CsvFields::writeHeading(out, label, Strings::IDS_UI_CSV_UID, node, typeNameId(graphType));

  out << Strings::LoadString(Strings::IDS_BLANK);
  if (n > 0) {
    const Blocks::Values& frequencies = set.frequencies(0);
    for (int i = 0; i < n; ++i) out << comma << CsvFields::number(frequencies[i]);
  }
  out << lf;

  for (int k = r - 1; k >= 0; --k) {
    const Blocks::Values& values = set.values(k);
    if (std::all_of(values.begin(), values.begin() + n, isNoData)) continue;
    out << (k < static_cast<int>(set.startLabels.size()) ? set.startLabels[k] : QString());
    for (int i = 0; i < n; ++i)
      out << comma
          << (addOffset ? CsvFields::level(values[i], unit.offset()) : CsvFields::value(values[i]));
    out << lf;
  }
  out << lf;
}
