#include "views/ReportViewFactory.h"

#include "query/GraphType.h"
#include "views/CSingleFrequencyView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/C24HourView.h"
#include "views/CMultiDayTimeWindowView.h"
#include "views/CMultiDayView.h"
#include "views/CTimeWindowDetailView.h"
#include "views/ReportView.h"

ReportView* createReportView(int graphType, QWidget* parent) {
  switch (graphType) {
    case TimeWindowSummary:
      return new CTimeWindowSummaryView(parent);
    case OneFreqTimeWindow:
      return new CSingleFrequencyView(parent);
    case TimeWindowDetail: return new CTimeWindowDetailView(parent);
    case TwentyFourHour: return new C24HourView(parent);
    case MultiDay: return new CMultiDayView(parent);
    case MultiDayTimeWindow: return new CMultiDayTimeWindowView(parent);
    default:
      break;
  }
  return nullptr;
}
