#include "views/ReportTexts.h"

#include "query/CsvFields.h"
#include "query/GraphQuery.h"
#include "resources/Strings.h"

namespace ReportTexts {

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

constexpr int kNames[] = {Strings::IDS_REPORT_TIME_WINDOW_SUMMARY, Strings::IDS_REPORT_ONE_FREQ_TIME_WINDOW,
                          Strings::IDS_REPORT_TIME_WINDOW_DETAIL,  Strings::IDS_REPORT_24_HOUR,
                          Strings::IDS_REPORT_MULTI_DAY,           Strings::IDS_REPORT_MULTI_DAY_TIME_WINDOW};
constexpr int kDescriptions[] = {
    Strings::IDS_DESC_TIME_WINDOW_SUMMARY, Strings::IDS_DESC_ONE_FREQ_TIME_WINDOW,
    Strings::IDS_DESC_TIME_WINDOW_DETAIL,  Strings::IDS_DESC_24_HOUR,
    Strings::IDS_DESC_MULTI_DAY,           Strings::IDS_DESC_MULTI_DAY_TIME_WINDOW};
constexpr int kTypeNames[] = {Strings::IDS_TYPE_TIME_WINDOW_SUMMARY, Strings::IDS_TYPE_ONE_FREQ_TIME_WINDOW,
                              Strings::IDS_TYPE_TIME_WINDOW_DETAIL,  Strings::IDS_TYPE_24_HOUR,
                              Strings::IDS_TYPE_MULTI_DAY,           Strings::IDS_TYPE_MULTI_DAY_TIME_WINDOW};
constexpr int kIncrements[] = {Strings::IDS_UI_INCREMENT_15_MIN, Strings::IDS_UI_INCREMENT_1_HOUR,
                               Strings::IDS_UI_INCREMENT_1_DAY};

}  // namespace

QString name(int t) {
  return isValidGraphType(t) ? text(kNames[t]) : QString();
}
QString description(int t) {
  return isValidGraphType(t) ? text(kDescriptions[t]) : QString();
}
QString typeName(int t) {
  return isValidGraphType(t) ? text(kTypeNames[t]) : QString();
}

QString windowTitle(const QString& label, int graphType) {
  const QString title = text(Strings::IDS_TITLE_FORMAT).arg(label);
  return isValidGraphType(graphType) ? title + QLatin1Char(' ') + typeName(graphType) : title;
}

QString windowText(const GraphQuery& q) {
  const CNBDateTime start = q.GetStart(), stop = q.GetEnd();
  QString startDate, startTime, stopDate, stopTime;
  start.FormatDate(startDate, &start, true, true);
  start.FormatTime(startTime, &start, false, true);
  stop.FormatDate(stopDate, &stop, true, true);
  stop.FormatTime(stopTime, &stop, false, true);
  const QString blank = text(Strings::IDS_BLANK);
  return startDate + blank + startTime + text(Strings::IDS_UI_RANGE_SEPARATOR) + stopDate + blank + stopTime;
}

QStringList headerLines(const QString& label, int node, LevelUnit unit, const GraphQuery& q) {
  QStringList lines;
  lines << label + QStringLiteral("  ") + text(Strings::IDS_UI_HDR_ID_NUMBER) + QLatin1Char(' ') +
               QString::number(node);
  lines << text(Strings::IDS_UI_HDR_LEVEL_UNITS) + QLatin1Char(' ') + unit.text();
  lines << text(Strings::IDS_UI_HDR_START) + QLatin1Char(' ') + q.GetStart().LocalDateTimeText();
  lines << text(Strings::IDS_UI_HDR_END) + QLatin1Char(' ') + q.GetEnd().LocalDateTimeText();
  if (q.graphType != TimeWindowSummary && Increment::isValid(q.increment))
    lines << text(Strings::IDS_UI_HDR_SCAN_SUMMARY) + QLatin1Char(' ') + text(kIncrements[q.increment]);
  return lines;
}

std::pair<QString, QString> periodPanes(const GraphQuery& q, const CNBDateTime& nowUtc) {
  if (q.graphType == TimeWindowSummary || q.graphType == OneFreqTimeWindow || q.graphType == TimeWindowDetail)
    return {nowUtc.LocalDateText(), nowUtc.LocalTimeText()};
  return {q.GetStart().LocalDateText(), q.GetEnd().LocalDateText()};
}

}  // namespace ReportTexts
