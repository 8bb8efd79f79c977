#include "views/CTimeWindowDetailView.h"

#include "query/GraphType.h"
#include "query/RibbonSet.h"
#include "resources/Strings.h"
#include "views/ReportData.h"

CTimeWindowDetailView::CTimeWindowDetailView(QWidget* parent) : C3DReportView(TimeWindowDetail, parent) {}

QString CTimeWindowDetailView::headerText(const ReportData& data) const {
  QString first;
  if (data.ribbons && !data.ribbons->empty())
    first = data.ribbons->periodStartLabel + QStringLiteral(" - ") + data.ribbons->periodEndLabel;
  const int stat = data.query.statisticIndex;
  QString second;
  switch (stat) {
    case Statistic::kAverage: second = Strings::LoadString(Strings::IDS_STAT_AVERAGE); break;
    case Statistic::kMaximum: second = Strings::LoadString(Strings::IDS_STAT_MAXIMUM); break;
    case Statistic::kMinimum: second = Strings::LoadString(Strings::IDS_STAT_MINIMUM); break;
    default:
      second = Strings::LoadString(Strings::IDS_EXCEEDING) + QLatin1Char(' ') +
               data.thresholdNames.value(stat - Statistic::kThreshold1);
      break;
  }
  return first + QStringLiteral("\n") + second;
}
