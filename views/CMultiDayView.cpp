#include "views/CMultiDayView.h"

CMultiDayView::CMultiDayView(QWidget* parent) : C3DReportView(4, parent) {}
