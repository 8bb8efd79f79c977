// Runs with TZ=Europe/Berlin.
#include "core/CNBDateTime.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

CNBDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return CNBDateTime::FromFields(y, mo, d, h, mi, s);
}

CNBDateTime withStatus(CNBDateTime::Status s) {
  CNBDateTime dt = at(2024, 1, 1);
  dt.setStatus(s);
  return dt;
}

QDateTime utcAt(int y, int mo, int d, int h, int mi, int s) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

TEST(CNBDateTime, SecondsBreakDownInUtcAndConvertBackOnlyInsideTheRange) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
  const struct {
    int32_t seconds;
    CNBDateTime fields;
    int32_t back;  // what ToSeconds answers for the breakdown
  } cases[] = {{0, at(1970, 1, 1), 0},
               {951782400, at(2000, 2, 29), 951782400},
               {1711846799, at(2024, 3, 31, 0, 59, 59), 1711846799},
               {kMax, at(2038, 1, 19, 3, 14, 7), kMax},
               {-1, at(1969, 12, 31, 23, 59, 59), -1},
               {kMin, at(1901, 12, 13, 20, 45, 52), -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    const CNBDateTime dt = CNBDateTime::FromSeconds(c.seconds);
    EXPECT_EQ(dt, c.fields);
    EXPECT_EQ(dt.ToSeconds(), c.back);
  }
  for (const CNBDateTime& dt : {at(2038, 1, 19, 3, 14, 8), at(2040, 6, 1), at(1969, 12, 31),
                                withStatus(CNBDateTime::null), withStatus(CNBDateTime::invalid)})
    EXPECT_EQ(dt.ToSeconds(), -1) << dt.toUtc().toString(Qt::ISODate).toStdString();
}

TEST(CNBDateTime, FieldsOfValuesAroundDayZeroKeepTheTimePositive) {
  const struct {
    double value;
    QDateTime fields;
    bool builtFromFields;  // FromFields gives exactly this value
  } cases[] = {
      {0.0, utcAt(1899, 12, 30, 0, 0, 0), true},
      {2.25, utcAt(1900, 1, 1, 6, 0, 0), true},
      {-1.25, utcAt(1899, 12, 29, 6, 0, 0), true},
      {-1.75, utcAt(1899, 12, 29, 18, 0, 0), true},
      {-0.5, utcAt(1899, 12, 30, 12, 0, 0), false},
      {-2.0 - 0.4 / 86400, utcAt(1899, 12, 28, 0, 0, 0), false},
      {0.6 / 86400 + 1.0 - 1.0 / 86400, utcAt(1899, 12, 31, 0, 0, 0), false},  // rounds into the next day
      {-657434.0, utcAt(100, 1, 1, 0, 0, 0), true},
      {2958465.0 + 86399.0 / 86400, utcAt(9999, 12, 31, 23, 59, 59), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const CNBDateTime dt(c.value);
    EXPECT_EQ(dt.toUtc(), c.fields);
    const CNBDateTime rebuilt = at(dt.year(), dt.month(), dt.day(), dt.hour(), dt.minute(), dt.second());
    EXPECT_EQ(c.builtFromFields ? rebuilt.value() : c.value, c.value);
  }
}

TEST(CNBDateTime, FieldsThatMakeNoDateGiveAnInvalidValue) {
  const int cases[][6] = {{99, 12, 31, 0, 0, 0},  {10000, 1, 1, 0, 0, 0}, {2023, 2, 29, 0, 0, 0},
                          {2024, 13, 1, 0, 0, 0}, {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0},
                          {2024, 1, 1, 0, 0, 60}, {2024, 1, 1, -1, 0, 0}};
  for (const auto& f : cases) {
    const CNBDateTime dt = CNBDateTime::FromFields(f[0], f[1], f[2], f[3], f[4], f[5]);
    EXPECT_EQ(dt.status(), CNBDateTime::invalid) << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3];
    EXPECT_EQ(dt.year(), -1);
    EXPECT_FALSE(dt.toUtc().isValid());
  }
}

TEST(CNBDateTime, UtcAndLocalAcrossBerlinSwitches) {
  const struct {
    CNBDateTime utc;
    CNBDateTime local;
    CNBDateTime backToUtc;
  } cases[] = {
      {at(2024, 3, 31, 0, 59, 59), at(2024, 3, 31, 1, 59, 59), at(2024, 3, 31, 0, 59, 59)},
      {at(2024, 3, 31, 1, 0, 0), at(2024, 3, 31, 3, 0, 0), at(2024, 3, 31, 1, 0, 0)},
      {at(2024, 7, 1, 12, 0, 0), at(2024, 7, 1, 14, 0, 0), at(2024, 7, 1, 12, 0, 0)},
      {at(2024, 10, 26, 23, 30, 0), at(2024, 10, 27, 1, 30, 0), at(2024, 10, 26, 23, 30, 0)},
      // The repeated hour: both instants show 02:30, which reads back as the later one.
      {at(2024, 10, 27, 0, 30, 0), at(2024, 10, 27, 2, 30, 0), at(2024, 10, 27, 1, 30, 0)},
      {at(2024, 10, 27, 1, 30, 0), at(2024, 10, 27, 2, 30, 0), at(2024, 10, 27, 1, 30, 0)},
      {at(2024, 12, 31, 23, 0, 0), at(2025, 1, 1, 0, 0, 0), at(2024, 12, 31, 23, 0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utc.toUtc().toString(Qt::ISODate).toStdString());
    EXPECT_EQ(c.utc.UtcToLocal(), c.local);
    EXPECT_EQ(c.local.LocalToUtc(), c.backToUtc);
    EXPECT_EQ(CNBDateTime::FromLocal(c.local.date(), c.local.time()), c.backToUtc);
  }
  // A local time in the spring gap uses the offset before the switch.
  const CNBDateTime gap = CNBDateTime::FromLocal(QDate(2024, 3, 31), QTime(2, 30));
  EXPECT_EQ(std::pair(gap, gap.UtcToLocal()),
            std::pair(at(2024, 3, 31, 1, 30, 0), at(2024, 3, 31, 3, 30, 0)));
}

// Without a start, from now, which drops the milliseconds.
TEST(CNBDateTime, PeriodBeforeEachPeriod) {
  const CNBDateTime from = at(2011, 3, 1);
  const std::pair<int, const char*> cases[] = {
      {0, "2011-02-28 23:00"}, {1, "2011-02-28 00:00"}, {2, "2011-02-22 00:00"}, {3, "2011-01-30 00:00"},
      {4, "2010-09-02 00:00"}, {5, "2000-01-01 00:00"}, {-1, "2000-01-01 00:00"}};
  for (const auto& [period, expected] : cases) {
    CNBDateTime result = at(2000, 1, 1);
    from.PeriodBefore(result, period, &from);
    EXPECT_EQ(result.toUtc().toString("yyyy-MM-dd HH:mm"), expected) << period;
  }
  ScopedFixedClock clock(QDateTime(QDate(2024, 3, 31), QTime(12, 0, 9, 987), Qt::UTC));
  CNBDateTime result;
  from.PeriodBefore(result, 1, nullptr);
  EXPECT_EQ(result, at(2024, 3, 30, 12, 0, 9));
}

// Spans of each pair of statuses (v, i, n): null outranks invalid.
TEST(CNBDateTime, ArithmeticWorksAcrossDayZeroAndSpansCarryTheWorseStatus) {
  const CNBDateTime before(-1.75);  // 1899-12-29 18:00
  EXPECT_DOUBLE_EQ((at(1899, 12, 30, 6, 0, 0) - before).days, 0.5);
  EXPECT_DOUBLE_EQ((at(2024, 3, 31, 12, 0, 0) - at(2024, 3, 30, 11, 0, 0)).days, 25.0 / 24);
  EXPECT_EQ(before.addDays(1.0), at(1899, 12, 30, 18, 0, 0));
  EXPECT_EQ(at(1899, 12, 30, 6, 0, 0).addDays(-1.0 / 24 * 7), at(1899, 12, 29, 23, 0, 0));
  EXPECT_EQ(at(2024, 3, 31, 1, 59, 59).withSecondsZero(), at(2024, 3, 31, 1, 59, 0));
  const char letter[] = "vin";
  std::string spans;
  for (auto a : {CNBDateTime::valid, CNBDateTime::invalid, CNBDateTime::null})
    for (auto b : {CNBDateTime::valid, CNBDateTime::invalid, CNBDateTime::null})
      spans += {letter[a], letter[b], letter[(withStatus(a) - withStatus(b)).status], ' '};
  EXPECT_EQ(spans, "vvv vii vnn ivi iii inn nvn nin nnn ");
  // A value no year from 100 to 9999 can hold spans to nothing.
  for (double v : {std::nan(""), std::numeric_limits<double>::infinity(), -657435.0, 2958466.0})
    EXPECT_EQ((CNBDateTime(v) - at(2024, 1, 1)).status, CNBDateTime::invalid) << v;
}

TEST(CNBDateTime, FormatDateAndTimeReadBackWithTheLocaleFormats) {
  const QLocale locale = QLocale::system();
  const CNBDateTime dt = at(2024, 10, 26, 23, 30, 45);  // 01:30:45 on the 27th in Berlin
  const CNBDateTime formatter;
  QString text;
  auto date = [&](bool shortFormat, bool local) {
    EXPECT_EQ(formatter.FormatDate(text, &dt, shortFormat, local), 0);
    return shortFormat ? text
                       : locale.toDate(text, locale.dateFormat(QLocale::LongFormat)).toString(Qt::ISODate);
  };
  auto time = [&](const CNBDateTime* value, bool seconds, bool local) {
    EXPECT_EQ(formatter.FormatTime(text, value, seconds, local), 0);
    return locale.toTime(text, CNBDateTime::LocaleTimeFormat(seconds));
  };
  EXPECT_EQ(date(false, true), "2024-10-27");
  EXPECT_EQ(date(false, false), "2024-10-26");
  EXPECT_EQ(date(true, true), locale.toString(QDate(2024, 10, 27), QLocale::ShortFormat));
  EXPECT_EQ(time(&dt, true, true), QTime(1, 30, 45));
  EXPECT_EQ(time(&dt, false, false), QTime(23, 30));
  ScopedFixedClock clock(utcAt(2024, 7, 1, 22, 15, 0));
  EXPECT_EQ(time(nullptr, false, true), QTime(0, 15));

  for (auto status : {CNBDateTime::invalid, CNBDateTime::null}) {
    const CNBDateTime bad = withStatus(status);
    EXPECT_EQ(formatter.FormatDate(text, &bad, true, true), CNBDateTime::kFormatErrorInvalidValue);
    EXPECT_EQ(formatter.FormatTime(text, &bad, true, false), CNBDateTime::kFormatErrorInvalidValue);
    EXPECT_TRUE(text.isEmpty());
  }
}

// Per locale: the time format without and with seconds, and the label format.
TEST(CNBDateTime, LocaleTimeFormatsAddOrDropOnlyTheSeconds) {
  const std::pair<const char*, const char*> cases[] = {{"C", "HH:mm | HH:mm:ss | H:mm"},
                                                       {"en_US", "h:mm AP | h:mm:ss AP | hh:mm AP"},
                                                       {"fi_FI", "H.mm | H.mm.ss | H:mm"},
                                                       {"ko_KR", "AP h:mm | AP h:mm:ss | hh:mm AP"},
                                                       {"bg_BG", "H:mm 'ч'. | H:mm:ss 'ч'. | H:mm"}};
  for (const auto& [name, formats] : cases) {
    const QLocale locale(QString::fromLatin1(name));
    EXPECT_EQ(CNBDateTime::LocaleTimeFormat(false, locale) + " | " +
                  CNBDateTime::LocaleTimeFormat(true, locale) + " | " + CNBDateTime::TimeLabelFormat(locale),
              QString::fromUtf8(formats))
        << name;
  }
}

TEST(CNBDateTime, BuildTimeText) {
  const std::pair<QDateTime, const char*> cases[] = {
      {utcAt(2024, 3, 5, 13, 2, 3), "Mar 05, 2024  01:02:03 PM"},
      {utcAt(2024, 12, 31, 0, 0, 0), "Dec 31, 2024  12:00:00 AM"},
      {utcAt(2011, 1, 9, 12, 59, 59), "Jan 09, 2011  12:59:59 PM"}};
  for (const auto& [dt, text] : cases) EXPECT_EQ(CNBDateTime::FormatBuildTime(dt), QString::fromLatin1(text));
  EXPECT_TRUE(CNBDateTime::FormatBuildTime(QDateTime()).isEmpty());
}

}  // namespace
