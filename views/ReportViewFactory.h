#pragma once

class QWidget;
class ReportView;

// The view that draws a report type, parented to `parent`; null for a type
// without a view of its own.
ReportView* createReportView(int graphType, QWidget* parent);
