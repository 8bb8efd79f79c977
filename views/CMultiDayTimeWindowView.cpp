#include "views/CMultiDayTimeWindowView.h"

CMultiDayTimeWindowView::CMultiDayTimeWindowView(QWidget* parent) : C3DReportView(5, parent) {}
