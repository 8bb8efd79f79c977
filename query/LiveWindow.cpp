#include "query/LiveWindow.h"

#include "query/NewGraphRules.h"

namespace {

bool movesByDays(int32_t graphType) {
  return graphType == MultiDay || graphType == MultiDayTimeWindow;
}

int stepSeconds(const GraphQuery& query) {
  switch (query.graphType) {
    case OneFreqTimeWindow:
    case TimeWindowDetail: return Increment::seconds(query.increment);
    case TwentyFourHour: return Increment::seconds(Increment::k1Hour);
    default: return Increment::seconds(Increment::k15Min);
  }
}

bool onQuarterHour(const QDateTime& utc) {
  return utc.time().second() == 0 && utc.time().minute() % 15 == 0;
}

}  // namespace

namespace LiveWindow {

QDateTime stepAfterEnd(const GraphQuery& query) {
  const QDateTime end = query.GetEnd().toUtc();
  if (!movesByDays(query.graphType)) return end.addSecs(stepSeconds(query));
  const QDateTime local = end.toLocalTime();
  return CNBDateTime::FromLocal(local.date().addDays(1), local.time()).toUtc();
}

bool endsNow(const GraphQuery& query, const QDateTime& nowUtc) {
  const QDateTime end = query.GetEnd().toUtc();
  return isValidGraphType(query.graphType) && end.isValid() && end <= nowUtc && nowUtc < stepAfterEnd(query);
}

GraphQuery slid(const GraphQuery& query, const QDateTime& nowUtc) {
  GraphQuery out = query;
  const QDateTime start = query.GetStart().toUtc();
  const QDateTime end = query.GetEnd().toUtc();
  if (!start.isValid() || !end.isValid() || !nowUtc.isValid()) return out;
  if (movesByDays(query.graphType)) {
    const QDateTime localStart = start.toLocalTime();
    const QDateTime localEnd = end.toLocalTime();
    const QDateTime localNow = nowUtc.toLocalTime();
    qint64 days = localEnd.date().daysTo(localNow.date());
    if (localNow.time() < localEnd.time()) --days;
    if (days <= 0) return out;
    out.SetStart(CNBDateTime::FromLocal(localStart.date().addDays(days), localStart.time()));
    out.SetEnd(CNBDateTime::FromLocal(localEnd.date().addDays(days), localEnd.time()));
    return out;
  }
  const QDateTime newEnd = onQuarterHour(end)
                               ? NewGraphRules::lastQuarterHour(nowUtc)
                               : QDateTime::fromSecsSinceEpoch(nowUtc.toSecsSinceEpoch(), Qt::UTC);
  const qint64 shift = end.secsTo(newEnd);
  if (shift <= 0) return out;
  out.SetStart(CNBDateTime::FromQDateTime(start.addSecs(shift)));
  out.SetEnd(CNBDateTime::FromQDateTime(newEnd));
  return out;
}

}  // namespace LiveWindow
