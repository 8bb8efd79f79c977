#include "views/C24HourView.h"

C24HourView::C24HourView(QWidget* parent) : C3DReportView(3, parent) {}
