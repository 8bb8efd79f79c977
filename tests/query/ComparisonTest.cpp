#include "query/CompareWindow.h"
#include "query/ComparisonMatch.h"

#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

namespace {

using namespace CompareWindow;

GraphQuery shownQuery(int type, const QDateTime& start, const QDateTime& end) {
  GraphQuery q;
  q.graphType = type;
  q.SetStart(at(start));
  q.SetEnd(at(end));
  return q;
}

// "MM-dd HH:mm[:ss]" of 2026, local time; empty for none.
QDateTime t(const char* text) {
  const QString s = QStringLiteral("2026-") + QLatin1String(text);
  return QDateTime::fromString(s, s.size() > 16 ? "yyyy-MM-dd HH:mm:ss" : "yyyy-MM-dd HH:mm");
}

// The test zone is Berlin: summer time from 2026-03-29 02:00 to 2026-10-25 03:00.
TEST(CompareWindow, EarlierWindow) {
  const struct {
    int type;
    const char *start, *end;
    int shift;
    const char *chosen, *earlierStart, *earlierEnd;
  } cases[] = {
      {TimeWindowSummary, "12-01 08:00", "12-01 10:00", kPreviousPeriod, "", "12-01 06:00", "12-01 08:00"},
      // Up to the second: the shown end's seconds make the length.
      {OneFreqTimeWindow, "12-01 08:00", "12-01 10:23:17", kPreviousPeriod, "", "12-01 05:36:43",
       "12-01 08:00"},
      {OneFreqTimeWindow, "12-01 08:00", "12-01 10:23:17", kSevenDays, "", "11-24 08:00", "11-24 10:23:17"},
      // A day back over the spring change keeps the clock times.
      {TimeWindowDetail, "03-29 08:00", "03-29 10:00", kOneDay, "", "03-28 08:00", "03-28 10:00"},
      // The 23-hour day of the change stays 23 hours long a day earlier.
      {TwentyFourHour, "03-29 00:00", "03-30 00:00", kOneDay, "", "03-28 00:00", "03-28 23:00"},
      {TwentyFourHour, "03-29 00:00", "03-30 00:00", kPreviousPeriod, "", "03-28 01:00", "03-29 00:00"},
      // Month ends.
      {TimeWindowDetail, "03-01 00:30", "03-01 02:30", kOneDay, "", "02-28 00:30", "02-28 02:30"},
      {TimeWindowSummary, "03-31 09:00", "03-31 09:15", kSevenDays, "", "03-24 09:00", "03-24 09:15"},
      {TimeWindowSummary, "12-01 08:00", "12-01 10:00", kChosenStart, "11-15 12:00", "11-15 12:00",
       "11-15 14:00"},
      // Day types move whole local days and keep their clock times.
      {MultiDay, "12-01 00:00", "12-05 00:00", kPreviousPeriod, "", "11-27 00:00", "12-01 00:00"},
      {MultiDayTimeWindow, "12-01 08:00", "12-05 17:00", kPreviousPeriod, "", "11-26 08:00", "11-30 17:00"},
      {MultiDay, "10-26 00:00", "10-28 00:00", kOneDay, "", "10-25 00:00", "10-27 00:00"},
      {MultiDay, "03-01 00:00", "03-03 00:00", kSevenDays, "", "02-22 00:00", "02-24 00:00"},
      {MultiDayTimeWindow, "12-01 08:00", "12-03 17:00", kChosenStart, "11-10 23:45", "11-10 08:00",
       "11-12 17:00"},
  };
  for (const auto& c : cases) {
    const GraphQuery shown = shownQuery(c.type, t(c.start), t(c.end));
    const GraphQuery e = earlier(shown, c.shift, at(t(c.chosen)));
    const std::string name = std::string(c.start) + " shift " + std::to_string(c.shift);
    EXPECT_EQ(e.GetStart().toLocal(), t(c.earlierStart)) << name;
    EXPECT_EQ(e.GetEnd().toLocal(), t(c.earlierEnd)) << name;
    EXPECT_TRUE(acceptable(shown, e)) << name;
    EXPECT_EQ(offsetSeconds(shown, e), t(c.earlierStart).secsTo(t(c.start))) << name;
    GraphQuery rest = e;  // nothing but the window moves
    rest.SetStart(shown.GetStart());
    rest.SetEnd(shown.GetEnd());
    EXPECT_EQ(rest, shown) << name;
  }
  // A chosen start at or after the shown start is no earlier period.
  const GraphQuery shown = shownQuery(TimeWindowSummary, t("12-01 08:00"), t("12-01 10:00"));
  EXPECT_FALSE(acceptable(shown, earlier(shown, kChosenStart, at(t("12-01 08:00")))));
  EXPECT_TRUE(acceptable(shown, earlier(shown, kChosenStart, at(t("12-01 07:59")))));
}

constexpr double H = Blocks::NO_DATA;

TEST(ComparisonMatch, FrequenciesAndDifference) {
  const struct {
    std::vector<double> current, earlier;
    std::vector<int> expected;
  } cases[] = {
      {{5, 6, 7}, {5, 6, 7}, {0, 1, 2}},
      // Another plan: nearest, the later of two at the midpoint; outside the
      // earlier span nothing matches.
      {{5, 5.5, 6.2, 7, 9}, {5, 6, 7}, {0, 1, 1, 2, -1}},
      {{4.99995, 7.00005, 7.001}, {5, 6, 7}, {0, 2, -1}},
      {{5, 6}, {}, {-1, -1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ComparisonMatch::matchFrequencies(c.current.data(), static_cast<int>(c.current.size()),
                                                c.earlier.data(), static_cast<int>(c.earlier.size())),
              c.expected);
  EXPECT_EQ(ComparisonMatch::difference(-3.5, -5.0), 1.5);
  EXPECT_EQ(ComparisonMatch::difference(H, -5.0), H);
  EXPECT_EQ(ComparisonMatch::difference(-5.0, H), H);
  EXPECT_EQ(ComparisonMatch::difference(-5.0, std::nan("")), H);
}

RibbonBlock ribbon(std::vector<double> f, std::vector<double> v) {
  RibbonBlock b;
  b.hasData = 1;
  b.entryCount = static_cast<uint16_t>(f.size());
  std::copy(f.begin(), f.end(), b.frequencies.begin());
  std::copy(v.begin(), v.end(), b.values.begin());
  return b;
}

TEST(ComparisonMatch, RibbonsByPositionAndNearestFrequency) {
  RibbonSet now, then;
  now.ribbonCount = 3;
  now.frequencyCount = 3;
  now.ribbons = {ribbon({5, 6, 7}, {1, 2, 3}), ribbon({5, 6, 7}, {4, H, 6}), ribbon({5, 6, 7}, {7, 8, 9})};
  // Two ribbons only, on another plan.
  then.ribbonCount = 2;
  then.frequencyCount = 3;
  then.ribbons = {ribbon({5, 6.9, 7}, {0.5, 1, 1.5}), ribbon({5, 6.9, 7}, {H, 2, 3})};
  const ComparisonMatch::RibbonDifference d = ComparisonMatch::ribbons(now, then);
  EXPECT_EQ(d.rows, 3);
  EXPECT_EQ(d.columns, 3);
  EXPECT_EQ(d.earlier, (std::vector<double>{0.5, 1, 1.5, H, 2, 3, H, H, H}));
  EXPECT_EQ(d.difference, (std::vector<double>{0.5, 1, 1.5, H, H, 3, H, H, H}));
  then.ribbonCount = 1;  // a single earlier day still meets the first row
  EXPECT_EQ(ComparisonMatch::ribbons(now, then).earlier,
            (std::vector<double>{0.5, 1, 1.5, H, H, H, H, H, H}));

  SeriesStore::Series a, b;
  a.entryCount = 3;
  a.hasData = b.hasData = 1;
  a.frequencies = {5, 6, 7};
  a.values = {1, 2, 3};
  b.entryCount = 2;
  b.frequencies = {6, 7};
  b.values = {10, H};
  EXPECT_EQ(ComparisonMatch::series(a, b, true), (std::vector<double>{H, 10, H}));
  EXPECT_EQ(ComparisonMatch::series(a, b, false), (std::vector<double>{10, H, H}));
}

}  // namespace
