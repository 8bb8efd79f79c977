#include "views/ReportViewFactory.h"

#include "query/GraphType.h"
#include "views/CSingleFrequencyView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/ReportView.h"

ReportView* createReportView(int graphType, QWidget* parent) {
  switch (graphType) {
    case TimeWindowSummary:
      return new CTimeWindowSummaryView(parent);
    case OneFreqTimeWindow:
      return new CSingleFrequencyView(parent);
    default:
      break;
  }
  (void)parent;
  return nullptr;
}
