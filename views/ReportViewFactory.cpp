#include "views/ReportViewFactory.h"

#include "views/ReportView.h"

ReportView* createReportView(int graphType, QWidget* parent) {
  switch (graphType) {
    default:
      break;
  }
  (void)parent;
  return nullptr;
}
