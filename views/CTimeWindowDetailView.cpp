#include "views/CTimeWindowDetailView.h"

#include "query/GraphType.h"
#include "resources/Strings.h"
#include "views/ReportData.h"

CTimeWindowDetailView::CTimeWindowDetailView(QWidget* parent) : C3DReportView(TimeWindowDetail, parent) {}

QString CTimeWindowDetailView::headerText(const ReportData& report) const {
  const CNBDateTime start = report.query.GetStart(), stop = report.query.GetEnd();
  QString startDate, startTime, stopDate, stopTime;
  start.FormatDate(startDate, &start, true, true);
  start.FormatTime(startTime, &start, false, true);
  stop.FormatDate(stopDate, &stop, true, true);
  stop.FormatTime(stopTime, &stop, false, true);
  const QString first = startDate + QLatin1Char(' ') + startTime + QStringLiteral(" - ") + stopDate + QLatin1Char(' ') + stopTime;
  const int stat = report.query.statisticIndex;
  QString second;
  switch (stat) {
    case Statistic::kAverage: second = Strings::LoadString(Strings::IDS_STAT_AVERAGE); break;
    case Statistic::kMaximum: second = Strings::LoadString(Strings::IDS_STAT_MAXIMUM); break;
    case Statistic::kMinimum: second = Strings::LoadString(Strings::IDS_STAT_MINIMUM); break;
    default:
      second = Strings::LoadString(Strings::IDS_EXCEEDING) + QLatin1Char(' ') +
               report.thresholdNames.value(stat - Statistic::kThreshold1);
      break;
  }
  return first + QStringLiteral("\n") + second;
}
