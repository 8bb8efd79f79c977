#pragma once

#include "core/CNBDateTime.h"
#include "core/LevelUnit.h"

#include <QString>
#include <QStringList>
#include <utility>

struct GraphQuery;

// The texts the frame keeps for the report on screen: its name and
// description (for printing), the window title and the header lines.
namespace ReportTexts {

QString name(int graphType);         // "24 Hour Report"
QString description(int graphType);  // the report's one-paragraph description
QString typeName(int graphType);     // "24 Hour", as in the title and the export

// "Quillon - <label> <type name>"; the plain "Quillon - <label>" before any
// report.
QString windowTitle(const QString& label, int graphType);

// The reported period as the charts head it: "<start date> <start time> -
// <end date> <end time>" in local time.
QString windowText(const GraphQuery& query);

// The header lines of a printed report (the charts' own headers are shorter):
//   <label>  ID Number: <node>
//   Level Units: <unit>
//   Start date, time: <local start>
//   End date, time: <local end>
//   Each scan summarizes <increment>   (types with an increment)
QStringList headerLines(const QString& label, int node, LevelUnit unit, const GraphQuery& query);

// The status bar's first two panes after a build: the start and end dates
// of the reported period, or for Time Window Summary, One Frequency and
// Time Window Detail the current date and time.
std::pair<QString, QString> periodPanes(const GraphQuery& query, const CNBDateTime& nowUtc);

}  // namespace ReportTexts
