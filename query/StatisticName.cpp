#include "query/StatisticName.h"

#include "query/GraphType.h"
#include "resources/Strings.h"

QString statisticName(int statistic, const QStringList& thresholdNames) {
  switch (statistic) {
    case Statistic::kAverage: return Strings::LoadString(Strings::IDS_STAT_AVERAGE);
    case Statistic::kMaximum: return Strings::LoadString(Strings::IDS_STAT_MAXIMUM);
    case Statistic::kMinimum: return Strings::LoadString(Strings::IDS_STAT_MINIMUM);
    default: break;
  }
  return Strings::LoadString(Strings::IDS_EXCEEDING) + Strings::LoadString(Strings::IDS_BLANK) +
         thresholdNames.value(statistic - Statistic::kThreshold1);
}
