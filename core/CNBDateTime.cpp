#include "core/CNBDateTime.h"

#include "core/Clock.h"

#include <QList>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kSecondsPerDay = CNBDateTime::kSecondsPerDay;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
// These and anything beyond cannot hold a year between 100 and 9999 (99-12-31
// and 10000-01-01); checking first keeps the conversion to 64-bit seconds away
// from overflow.
constexpr double kMinValue = -657435.0;
constexpr double kMaxValue = 2958466.0;

QDate dayZero() {
  return QDate(1899, 12, 30);
}

qint64 floorDiv(qint64 a, qint64 b) {
  const qint64 q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Seconds on a straight time line from day zero. The stored value is not
// monotonic below zero (-1.25 is 6:00 on the day before day zero, later than
// -1.75), so every calculation goes through this line.
std::optional<qint64> lineSeconds(double value) {
  if (!std::isfinite(value) || value <= kMinValue || value >= kMaxValue) return std::nullopt;
  const double wholeDays = std::trunc(value);
  const double dayFraction = std::fabs(value - wholeDays);
  return static_cast<qint64>(wholeDays) * kSecondsPerDay + std::llround(dayFraction * kSecondsPerDay);
}

struct Fields {
  QDate date;
  QTime time;
};

std::optional<Fields> fieldsFromLine(qint64 seconds) {
  const qint64 days = floorDiv(seconds, kSecondsPerDay);
  const int secondOfDay = static_cast<int>(seconds - days * kSecondsPerDay);
  const QDate date = dayZero().addDays(days);
  if (!date.isValid() || date.year() < kMinYear || date.year() > kMaxYear) return std::nullopt;
  return Fields{date, QTime(0, 0).addSecs(secondOfDay)};
}

std::optional<Fields> fieldsOf(const CNBDateTime& dt) {
  if (!dt.isValid()) return std::nullopt;
  const auto seconds = lineSeconds(dt.value());
  if (!seconds) return std::nullopt;
  return fieldsFromLine(*seconds);
}

CNBDateTime fromDateAndTime(const QDate& date, const QTime& time) {
  if (!date.isValid() || !time.isValid()) {
    CNBDateTime bad;
    bad.setStatus(CNBDateTime::invalid);
    return bad;
  }
  return CNBDateTime::FromFields(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                                 time.second());
}

CNBDateTime fromLine(qint64 seconds) {
  const auto fields = fieldsFromLine(seconds);
  if (!fields) return fromDateAndTime(QDate(), QTime());
  return fromDateAndTime(fields->date, fields->time);
}

// Results snap to whole seconds so that arithmetic lands on exactly the
// doubles that FromFields builds, and equality between them holds.
CNBDateTime movedBy(const CNBDateTime& dt, qint64 delta) {
  if (!dt.isValid()) return dt;
  const auto seconds = lineSeconds(dt.value());
  if (!seconds) return fromDateAndTime(QDate(), QTime());
  return fromLine(*seconds + delta);
}

// The UTC instant that a local wall-clock time names. Where the clock repeats
// an hour (autumn), the later instant is taken, in standard time, as Qt does
// for such times. Where the clock skips an hour (spring), Qt gives no instant;
// the time is read with the offset in force before the switch instead, so
// 02:30 on the Berlin spring day is 01:30 UTC and shows as 03:30.
std::optional<QDateTime> localClockToUtc(const QDate& date, const QTime& time) {
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  const QDateTime clockAsUtc(date, time, Qt::UTC);
  const auto offsetAround = [&](int days) { return clockAsUtc.addDays(days).toLocalTime().offsetFromUtc(); };
  const QDateTime afterSwitch = clockAsUtc.addSecs(-offsetAround(1));
  const QDateTime shown = afterSwitch.toLocalTime();
  if (shown.date() == date && shown.time() == time) return afterSwitch;
  return clockAsUtc.addSecs(-offsetAround(-1));
}

struct Section {
  qsizetype begin;
  qsizetype end;
  QChar letter;
};

// Runs of one pattern letter outside quoted literals.
QList<Section> sectionsOf(const QString& format) {
  QList<Section> sections;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format.at(i);
    if (c == u'\'') {
      quoted = !quoted;
      ++i;
      continue;
    }
    if (quoted || !c.isLetter()) {
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < format.size() && format.at(end) == c) ++end;
    sections.append({i, end, c});
    i = end;
  }
  return sections;
}

QString removeSecondsSection(QString format) {
  const QList<Section> sections = sectionsOf(format);
  for (qsizetype i = 0; i < sections.size(); ++i) {
    if (sections[i].letter != u's') continue;
    qsizetype end = sections[i].end;
    if (i + 1 < sections.size() && sections[i + 1].letter == u'z') end = sections[i + 1].end;
    // The separator goes with the seconds: the one before them, or the one
    // after when they lead the format.
    qsizetype begin = sections[i].begin;
    if (i > 0) {
      begin = sections[i - 1].end;
    } else if (i + 1 < sections.size()) {
      end = sections[i + 1].begin;
    }
    format.remove(begin, end - begin);
    return format.trimmed();
  }
  return format;
}

QString addSecondsSection(QString format) {
  const QList<Section> sections = sectionsOf(format);
  const Section* minutes = nullptr;
  const Section* hours = nullptr;
  for (const Section& s : sections) {
    if (s.letter == u's') return format;
    if (s.letter == u'm') minutes = &s;
    if (s.letter == u'h' || s.letter == u'H') hours = &s;
  }
  if (!minutes) return format;
  QString separator = QStringLiteral(":");
  if (hours && hours->end < minutes->begin) {
    const QString between = format.mid(hours->end, minutes->begin - hours->end);
    if (!between.contains(u'\'')) separator = between;
  }
  format.insert(minutes->end, separator + QStringLiteral("ss"));
  return format;
}

}  // namespace

CNBDateTime CNBDateTime::FromFields(int year, int month, int day, int hour, int minute, int second) {
  CNBDateTime result;
  const QDate date(year, month, day);
  if (year < kMinYear || year > kMaxYear || !date.isValid() || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59) {
    result.m_status = invalid;
    return result;
  }
  const double dayNumber = static_cast<double>(dayZero().daysTo(date));
  const double timeOfDay = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
  // Below day zero the integer part is still the date and the time counts
  // away from zero.
  result.m_dt = dayNumber >= 0 ? dayNumber + timeOfDay : dayNumber - timeOfDay;
  return result;
}

CNBDateTime CNBDateTime::FromSeconds(int32_t secondsSince1970) {
  const QDateTime utc = QDateTime::fromSecsSinceEpoch(secondsSince1970, Qt::UTC);
  return fromDateAndTime(utc.date(), utc.time());
}

CNBDateTime CNBDateTime::FromQDateTime(const QDateTime& dt) {
  if (!dt.isValid()) return fromDateAndTime(QDate(), QTime());
  const QDateTime utc = dt.toUTC();
  const QTime t = utc.time();
  return fromDateAndTime(utc.date(), QTime(t.hour(), t.minute(), t.second()));
}

CNBDateTime CNBDateTime::FromLocal(const QDate& date, const QTime& time) {
  const auto utc = localClockToUtc(date, time);
  if (!utc) return fromDateAndTime(QDate(), QTime());
  return FromQDateTime(*utc);
}

CNBDateTime CNBDateTime::Now() const {
  return FromQDateTime(Clock::nowUtc());
}

int32_t CNBDateTime::FormatDate(QString& out, const CNBDateTime* dt, bool shortForm, bool toLocal) const {
  out.clear();
  const CNBDateTime value = dt ? *dt : Now();
  const QDate date = toLocal ? value.toLocal().date() : value.date();
  if (!date.isValid()) return kFormatErrorInvalidValue;
  out = QLocale::system().toString(date, shortForm ? QLocale::ShortFormat : QLocale::LongFormat);
  return 0;
}

int32_t CNBDateTime::FormatTime(QString& out, const CNBDateTime* dt, bool withSeconds, bool toLocal) const {
  out.clear();
  const CNBDateTime value = dt ? *dt : Now();
  const QTime time = toLocal ? value.toLocal().time() : value.time();
  if (!time.isValid()) return kFormatErrorInvalidValue;
  out = QLocale::system().toString(time, LocaleTimeFormat(withSeconds));
  return 0;
}

void CNBDateTime::PeriodBefore(CNBDateTime& result, int period, const CNBDateTime* dt) const {
  qint64 seconds = 0;
  switch (period) {
    case 0: seconds = 3600; break;
    case 1: seconds = kSecondsPerDay; break;
    case 2: seconds = 7 * kSecondsPerDay; break;
    case 3: seconds = 30 * kSecondsPerDay; break;
    case 4: seconds = 180 * kSecondsPerDay; break;
    default: return;
  }
  result = movedBy(dt ? *dt : Now(), -seconds);
}

int32_t CNBDateTime::ToSeconds() const {
  const auto fields = fieldsOf(*this);
  if (!fields || fields->date.year() < 1970 || fields->date.year() > 2039) return -1;
  const qint64 seconds =
      QDate(1970, 1, 1).daysTo(fields->date) * kSecondsPerDay + fields->time.msecsSinceStartOfDay() / 1000;
  if (seconds > std::numeric_limits<int32_t>::max()) return -1;
  return static_cast<int32_t>(seconds);
}

int CNBDateTime::year() const {
  const auto f = fieldsOf(*this);
  return f ? f->date.year() : -1;
}

int CNBDateTime::month() const {
  const auto f = fieldsOf(*this);
  return f ? f->date.month() : -1;
}

int CNBDateTime::day() const {
  const auto f = fieldsOf(*this);
  return f ? f->date.day() : -1;
}

int CNBDateTime::hour() const {
  const auto f = fieldsOf(*this);
  return f ? f->time.hour() : -1;
}

int CNBDateTime::minute() const {
  const auto f = fieldsOf(*this);
  return f ? f->time.minute() : -1;
}

int CNBDateTime::second() const {
  const auto f = fieldsOf(*this);
  return f ? f->time.second() : -1;
}

QDate CNBDateTime::date() const {
  const auto f = fieldsOf(*this);
  return f ? f->date : QDate();
}

QTime CNBDateTime::time() const {
  const auto f = fieldsOf(*this);
  return f ? f->time : QTime();
}

QDateTime CNBDateTime::toUtc() const {
  const auto f = fieldsOf(*this);
  return f ? QDateTime(f->date, f->time, Qt::UTC) : QDateTime();
}

QDateTime CNBDateTime::toLocal() const {
  const QDateTime utc = toUtc();
  return utc.isValid() ? utc.toLocalTime() : QDateTime();
}

CNBDateTime CNBDateTime::UtcToLocal() const {
  if (!isValid()) return *this;
  const QDateTime local = toLocal();
  return fromDateAndTime(local.date(), local.time());
}

CNBDateTime CNBDateTime::LocalToUtc() const {
  if (!isValid()) return *this;
  return FromLocal(date(), time());
}

CNBDateTime CNBDateTime::withSecondsZero() const {
  const auto f = fieldsOf(*this);
  if (!f) return isValid() ? fromDateAndTime(QDate(), QTime()) : *this;
  return fromDateAndTime(f->date, QTime(f->time.hour(), f->time.minute()));
}

CNBDateTime CNBDateTime::addDays(double days) const {
  return movedBy(*this, std::llround(days * kSecondsPerDay));
}

// A null operand outranks an invalid one, so a span from a date the user
// never gave reads as "no span" rather than as an error.
CNBDateTimeSpan CNBDateTime::operator-(const CNBDateTime& other) const {
  CNBDateTimeSpan span;
  if (m_status == null || other.m_status == null) {
    span.status = null;
    return span;
  }
  const auto mine = lineSeconds(m_dt);
  const auto theirs = lineSeconds(other.m_dt);
  if (m_status == invalid || other.m_status == invalid || !mine || !theirs) {
    span.status = invalid;
    return span;
  }
  span.days = static_cast<double>(*mine - *theirs) / kSecondsPerDay;
  return span;
}

// Built on the short format: the long one carries the zone name, which a
// value already shifted to local (or deliberately left in UTC) must not show.
QString CNBDateTime::LocaleTimeFormat(bool withSeconds, const QLocale& locale) {
  const QString base = locale.timeFormat(QLocale::ShortFormat);
  return withSeconds ? addSecondsSection(base) : removeSecondsSection(base);
}

QString CNBDateTime::TimeLabelFormat(const QLocale& locale) {
  for (const Section& s : sectionsOf(locale.timeFormat(QLocale::ShortFormat))) {
    if (s.letter == u'a' || s.letter == u'A') return QStringLiteral("hh:mm AP");
  }
  return QStringLiteral("H:mm");
}

QString CNBDateTime::FormatBuildTime(const QDateTime& dt) {
  if (!dt.isValid()) return {};
  // Fixed English names: the about box shows the same text in every locale.
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const QDate d = dt.date();
  const QTime t = dt.time();
  const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
  return QString::asprintf("%s %02d, %d  %02d:%02d:%02d %s", kMonths[d.month() - 1], d.day(), d.year(),
                           hour12, t.minute(), t.second(), t.hour() < 12 ? "AM" : "PM");
}

QString CNBDateTime::LocalDateText() const {
  QString date;
  FormatDate(date, this, true, true);
  return date;
}

QString CNBDateTime::LocalTimeText() const {
  QString time;
  FormatTime(time, this, false, true);
  return time;
}

QString CNBDateTime::LocalDateTimeText() const {
  return LocalDateText() + QLatin1Char(' ') + LocalTimeText();
}
