#include "query/CompareWindow.h"

#include "query/DayWindow.h"

namespace CompareWindow {

namespace {

constexpr int64_t kDay = CNBDateTime::kSecondsPerDay;

bool isDayType(int32_t type) {
  return type == MultiDay || type == MultiDayTimeWindow;
}

CNBDateTime fromSeconds(int64_t seconds) {
  if (seconds < 0 || seconds > INT32_MAX) {
    CNBDateTime bad;
    bad.setStatus(CNBDateTime::invalid);
    return bad;
  }
  return CNBDateTime::FromSeconds(static_cast<int32_t>(seconds));
}

// The same local clock time `days` calendar days earlier.
CNBDateTime daysBefore(const CNBDateTime& t, int64_t days) {
  const QDateTime local = t.toLocal();
  return CNBDateTime::FromLocal(local.date().addDays(-days), local.time());
}

// Whole local days a day request covers: the days of its answer.
int64_t answerDays(const GraphQuery& q) {
  const DayWindow w = DayWindow::of(q.GetStart(), q.GetEnd());
  return std::max<int64_t>(1, (static_cast<int64_t>(w.lastDay) - w.firstDay) / kDay + 1);
}

}  // namespace

GraphQuery earlier(const GraphQuery& shown, int shift, const CNBDateTime& chosenStart) {
  GraphQuery q = shown;
  const CNBDateTime start = shown.GetStart();
  const CNBDateTime end = shown.GetEnd();
  if (isDayType(shown.graphType)) {
    int64_t days = 0;
    switch (shift) {
      case kOneDay: days = 1; break;
      case kSevenDays: days = 7; break;
      case kChosenStart: days = chosenStart.toLocal().date().daysTo(start.toLocal().date()); break;
      default: days = answerDays(shown); break;
    }
    q.SetStart(daysBefore(start, days));
    q.SetEnd(daysBefore(end, days));
    return q;
  }
  const int64_t length = static_cast<int64_t>(end.ToSeconds()) - start.ToSeconds();
  CNBDateTime newStart;
  switch (shift) {
    case kOneDay: newStart = daysBefore(start, 1); break;
    case kSevenDays: newStart = daysBefore(start, 7); break;
    case kChosenStart: newStart = chosenStart; break;
    default: newStart = fromSeconds(static_cast<int64_t>(start.ToSeconds()) - length); break;
  }
  q.SetStart(newStart);
  q.SetEnd(newStart.isValid() ? fromSeconds(static_cast<int64_t>(newStart.ToSeconds()) + length) : newStart);
  return q;
}

int64_t offsetSeconds(const GraphQuery& shown, const GraphQuery& earlier) {
  return static_cast<int64_t>(shown.GetStart().ToSeconds()) - earlier.GetStart().ToSeconds();
}

bool acceptable(const GraphQuery& shown, const GraphQuery& earlier) {
  const CNBDateTime s = earlier.GetStart(), e = earlier.GetEnd();
  if (!s.isValid() || !e.isValid() || s.ToSeconds() < 0 || e.ToSeconds() < 0) return false;
  return s < shown.GetStart();
}

}  // namespace CompareWindow
