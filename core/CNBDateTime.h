#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <cstdint>

// A span between two date-time values: days as a double, with the status the
// difference inherits (a null operand gives a null span, an invalid one an
// invalid span).
struct CNBDateTimeSpan {
  double days = 0.0;
  int32_t status = 0;
  bool isValid() const { return status == 0; }
};

// The program's date-time value: days since 1899-12-30 00:00 as a double (the
// fraction is the time of day, negative values keep a positive time part as
// the OLE automation date does) plus a status. Values are held in UTC and shown
// in local time; they cross the server boundary as 32-bit seconds since 1970.
class CNBDateTime {
public:
  enum Status : int32_t { valid = 0, invalid = 1, null = 2 };
  // What FormatDate and FormatTime answer for a value that is not valid (or
  // lies outside the years 100 to 9999); the text is then left empty.
  static constexpr int32_t kFormatErrorInvalidValue = 1;

  CNBDateTime() = default;  // 0.0, valid
  explicit CNBDateTime(double dateValue) : m_dt(dateValue) {}
  virtual ~CNBDateTime() = default;
  CNBDateTime(const CNBDateTime&) = default;
  CNBDateTime& operator=(const CNBDateTime&) = default;

  // Calendar fields (month 1-12); invalid status when the fields do not make a
  // date between the years 100 and 9999 or a time of day.
  static CNBDateTime FromFields(int year, int month, int day, int hour, int minute, int second);
  // The UTC calendar breakdown of seconds since 1970-01-01 00:00 UTC.
  static CNBDateTime FromSeconds(int32_t secondsSince1970);
  // The instant of `dt` (in whatever zone it is given) expressed in UTC, to the second.
  static CNBDateTime FromQDateTime(const QDateTime& dt);
  // Local calendar date and clock time converted to the UTC instant.
  static CNBDateTime FromLocal(const QDate& date, const QTime& time);

  // Slot order matters to nobody here but is kept for the server-clock variant.
  // Current UTC time (from Clock), whole seconds.
  virtual CNBDateTime Now() const;
  // Locale date text of `dt` (nullptr: Now()); 0 on success.
  virtual int32_t FormatDate(QString& out, const CNBDateTime* dt, bool shortForm, bool toLocal) const;
  // Locale time text of `dt` (nullptr: Now()); 0 on success.
  virtual int32_t FormatTime(QString& out, const CNBDateTime* dt, bool withSeconds, bool toLocal) const;
  // `result` = the date-time `period` before `dt` (nullptr: Now()): 0 one hour,
  // 1 one day, 2 seven days, 3 thirty days, 4 180 days; other periods leave
  // `result` as it is.
  virtual void PeriodBefore(CNBDateTime& result, int period, const CNBDateTime* dt) const;

  double value() const { return m_dt; }
  Status status() const { return m_status; }
  void setStatus(Status s) { m_status = s; }
  bool isValid() const { return m_status == valid; }

  // The value as the user reads it in headers and labels: the locale's short
  // local date, a space, the local time without seconds.
  QString LocalDateTimeText() const;
  // Its two halves, for labels that show only one.
  QString LocalDateText() const;
  QString LocalTimeText() const;

  // Day arithmetic on seconds since 1970, UTC: the midnight at or before an
  // instant, and the seconds since it (0 to 86399), negative instants included.
  static constexpr int64_t kSecondsPerDay = 86400;
  static constexpr int64_t SecondOfDay(int64_t seconds) {
    const int64_t m = seconds % kSecondsPerDay;
    return m < 0 ? m + kSecondsPerDay : m;
  }
  static constexpr int64_t DayStart(int64_t seconds) { return seconds - SecondOfDay(seconds); }

  // Seconds since 1970 for years 1970 to 2039; -1 outside or on overflow.
  int32_t ToSeconds() const;

  // Calendar fields of the held value (UTC), rounded to the nearest second;
  // -1 (and a null QDate / QTime) when the value is not valid.
  int year() const;
  int month() const;
  int day() const;
  int hour() const;
  int minute() const;
  int second() const;
  QDate date() const;
  QTime time() const;

  // The held value as a UTC QDateTime (invalid QDateTime when not valid).
  QDateTime toUtc() const;
  // The held instant in local time.
  QDateTime toLocal() const;

  // Zone shifts of the value itself, with the bias valid for that date: the
  // result holds the local clock fields (UtcToLocal) or the UTC ones.
  CNBDateTime UtcToLocal() const;
  CNBDateTime LocalToUtc() const;

  // Same date and time with the seconds set to 0.
  CNBDateTime withSecondsZero() const;
  // The value moved by a number of days (fractions allowed); keeps the status.
  CNBDateTime addDays(double days) const;

  // The locale's short time format, with the seconds added or taken out.
  static QString LocaleTimeFormat(bool withSeconds, const QLocale& locale = QLocale::system());
  // Display format of report time labels: 12-hour with AM/PM when the
  // locale's clock shows AM/PM, else 24-hour.
  static QString TimeLabelFormat(const QLocale& locale = QLocale::system());
  // Build time text of the about box, "Mar 05, 2024  01:02:03 PM", in
  // English whatever the locale.
  static QString FormatBuildTime(const QDateTime& dt);

  CNBDateTimeSpan operator-(const CNBDateTime& other) const;
  bool operator==(const CNBDateTime& o) const { return m_status == o.m_status && m_dt == o.m_dt; }
  bool operator!=(const CNBDateTime& o) const { return !(*this == o); }
  bool operator<(const CNBDateTime& o) const { return m_dt < o.m_dt; }
  bool operator>(const CNBDateTime& o) const { return m_dt > o.m_dt; }
  bool operator<=(const CNBDateTime& o) const { return m_dt <= o.m_dt; }
  bool operator>=(const CNBDateTime& o) const { return m_dt >= o.m_dt; }

private:
  double m_dt = 0.0;
  Status m_status = valid;
};
