#include "query/NewGraphRules.h"

#include "query/GraphQuery.h"
#include "resources/Strings.h"
#include "server/RequestSize.h"

#include <algorithm>
#include <cmath>

#include <QLocale>

namespace NewGraphRules {

namespace {

int quarterOf(int minute) {
  if (minute <= 7) return 0;
  if (minute <= 22) return 15;
  if (minute <= 37) return 30;
  if (minute <= 52) return 45;
  return 60;
}

Failure failure(int id) {
  return {id, Strings::LoadString(id)};
}

}  // namespace

QDateTime roundToQuarter(const QDateTime& t, bool roundSeconds) {
  if (!t.isValid()) return t;
  const QTime tm = t.time();
  int minute = tm.minute();
  if (roundSeconds && tm.second() >= 30) ++minute;
  // Move along the instant rather than rebuilding the clock fields, so a
  // local time next to a daylight-saving switch stays the instant it was.
  const QDateTime hour = t.addMSecs(-(qint64(tm.minute()) * 60000 + tm.second() * 1000 + tm.msec()));
  return hour.addSecs(qint64(quarterOf(minute)) * 60);
}

QDateTime lastQuarterHour(const QDateTime& nowUtc) {
  const QDateTime rounded = roundToQuarter(nowUtc, true);
  return rounded < nowUtc ? rounded : rounded.addSecs(-15 * 60);
}

int quarterStep(int previousMinute, int newMinute) {
  if (newMinute == previousMinute) return previousMinute;
  if (newMinute == 59) return 45;
  if (newMinute < previousMinute) {
    const int below = ((previousMinute + 14) / 15 - 1) * 15;  // last quarter strictly below
    return below < 0 ? 45 : below;
  }
  const int above = (previousMinute / 15 + 1) * 15;  // first quarter strictly above
  return above >= 60 ? 0 : above;
}

double stepFrequency(double frequency, int delta, double lower, double upper) {
  // Dividing by the whole number of steps per MHz lands on the double nearest
  // the step, which the field then shows without a tail of digits.
  constexpr double kStepsPerMHz = 1.0 / kFrequencyStep;
  double f = (std::round(frequency / kFrequencyStep) - delta) / kStepsPerMHz;
  f = std::min(f, upper);
  return std::max(f, lower);
}

QString frequencyText(double mhz) {
  constexpr int kFewestDecimals = 3;
  QString text = QString::number(mhz, 'f', QLocale::FloatingPointShortest);
  if (!std::isfinite(mhz)) return text;
  qsizetype point = text.indexOf(QLatin1Char('.'));
  if (point < 0) {
    point = text.size();
    text += QLatin1Char('.');
  }
  const qsizetype decimals = text.size() - point - 1;
  if (decimals < kFewestDecimals) text += QString(kFewestDecimals - decimals, QLatin1Char('0'));
  return text;
}

int64_t graphSize(const GraphQuery& q, bool upToTheSecond) {
  const QDateTime start = q.GetStart().toUtc(), end = q.GetEnd().toUtc();
  if (!start.isValid() || !end.isValid()) return 0;
  const int64_t s = start.toSecsSinceEpoch(), e = end.toSecsSinceEpoch();
  const int64_t interval = Increment::seconds(q.increment);
  switch (q.graphType) {
    case TimeWindowSummary:
    case OneFreqTimeWindow: return RequestSize::points(s, e, interval);
    case TimeWindowDetail:
    case TwentyFourHour: return RequestSize::ribbons(s, e, interval, upToTheSecond);
    case MultiDay:
    case MultiDayTimeWindow: return RequestSize::days(s, e);
    default: return 0;
  }
}

std::optional<Failure> checkDates(const GraphQuery& q, const CNBDateTime& nowUtc) {
  const CNBDateTime start = q.GetStart();
  const CNBDateTime end = q.GetEnd();
  if (!(start < end)) return failure(Strings::IDS_END_BEFORE_START);
  if (end > nowUtc) return failure(Strings::IDS_DATES_BEYOND_TODAY);
  if (q.graphType != MultiDayTimeWindow) return std::nullopt;

  // The daily window is a local clock-time range repeated on every day, so
  // it is compared in local time.
  const QDateTime s = start.toLocal();
  const QDateTime e = end.toLocal();
  const int sh = s.time().hour(), sm = s.time().minute();
  const int eh = e.time().hour(), em = e.time().minute();
  if (sh == eh && sm == em) return failure(Strings::IDS_MDTW_SAME_TIMES);
  if (s.date() == e.date()) return failure(Strings::IDS_MDTW_SAME_DATE);
  if (sh > eh || (sh == eh && sm > em)) return failure(Strings::IDS_MDTW_END_TIME_BEFORE_START);
  return std::nullopt;
}

std::optional<Failure> checkStatistics(const GraphQuery& q) {
  if (!usesCheckBoxStatistics(q.graphType)) return std::nullopt;
  const bool any = std::any_of(q.statistics.begin(), q.statistics.end(), [](int32_t f) { return f != 0; });
  if (any) return std::nullopt;
  return failure(Strings::IDS_NO_STATISTIC);
}

std::optional<Failure> checkGraphSize(const GraphQuery& q, bool upToTheSecond) {
  const int64_t size = graphSize(q, upToTheSecond);
  switch (q.graphType) {
    case TimeWindowSummary:
    case OneFreqTimeWindow:
      if (size > kMaxPoints) return failure(Strings::IDS_TOO_MANY_POINTS);
      break;
    case MultiDay:
    case MultiDayTimeWindow:
      if (size > kMaxDays) return failure(Strings::IDS_TOO_MANY_DAYS);
      break;
    case TimeWindowDetail:
    case TwentyFourHour:
      if (size > kMaxRibbons) return failure(Strings::IDS_TOO_MANY_RIBBONS);
      break;
    default: break;
  }
  return std::nullopt;
}

std::optional<Failure> checkFrequency(const GraphQuery& q, double lower, double upper) {
  if (q.graphType != OneFreqTimeWindow) return std::nullopt;
  if (lower <= q.frequency && q.frequency <= upper) return std::nullopt;
  const QString format = Strings::LoadString(Strings::IDS_FREQUENCY_OUT_OF_RANGE);
  return Failure{Strings::IDS_FREQUENCY_OUT_OF_RANGE,
                 QString::asprintf(format.toUtf8().constData(), lower, upper)};
}

std::vector<Failure> runChecks(const GraphQuery& q, const CheckContext& context) {
  std::vector<Failure> failures;
  for (auto f : {checkDates(q, context.nowUtc), checkStatistics(q), checkGraphSize(q, context.upToTheSecond),
                 checkFrequency(q, context.lowerFrequency, context.upperFrequency)})
    if (f) failures.push_back(*f);
  return failures;
}

bool endTimeFollowsStart(int32_t graphType, int32_t increment) {
  return graphType == TwentyFourHour || (choosesIncrement(graphType) && increment == Increment::k1Day);
}

bool endDateFollowsStart(int32_t graphType) {
  return graphType == TwentyFourHour;
}

bool incrementClearsUpToTheSecond(int32_t graphType, int32_t increment) {
  return choosesIncrement(graphType) && increment == Increment::k1Day;
}

}  // namespace NewGraphRules
