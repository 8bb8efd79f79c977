#include "views/CTimeWindowDetailView.h"

#include "query/StatisticName.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"

CTimeWindowDetailView::CTimeWindowDetailView(QWidget* parent) : C3DReportView(TimeWindowDetail, parent) {}

QString CTimeWindowDetailView::headerText(const ReportData& report) const {
  return ReportTexts::windowText(report.query) + QLatin1Char('\n') +
         statisticName(report.query.statisticIndex, report.thresholdNames);
}
