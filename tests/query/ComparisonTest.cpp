#include "query/ComparisonMatch.h"
#include "query/CompareWindow.h"

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

// The test zone is Berlin: summer time from 2026-03-29 02:00 to 2026-10-25 03:00.
TEST(CompareWindow, EarlierWindow) {
  const struct {
    int type;
    QDateTime start, end;
    int shift;
    QDateTime chosen, earlierStart, earlierEnd;
  } cases[] = {
      {TimeWindowSummary, local(2026, 12, 1, 8, 0), local(2026, 12, 1, 10, 0), kPreviousPeriod, {},
       local(2026, 12, 1, 6, 0), local(2026, 12, 1, 8, 0)},
      // Up to the second: the shown end's seconds make the length.
      {OneFreqTimeWindow, local(2026, 12, 1, 8, 0), local(2026, 12, 1, 10, 23, 17), kPreviousPeriod, {},
       local(2026, 12, 1, 5, 36, 43), local(2026, 12, 1, 8, 0)},
      {OneFreqTimeWindow, local(2026, 12, 1, 8, 0), local(2026, 12, 1, 10, 23, 17), kSevenDays, {},
       local(2026, 11, 24, 8, 0), local(2026, 11, 24, 10, 23, 17)},
      // A day back over the spring change keeps the clock times.
      {TimeWindowDetail, local(2026, 3, 29, 8, 0), local(2026, 3, 29, 10, 0), kOneDay, {},
       local(2026, 3, 28, 8, 0), local(2026, 3, 28, 10, 0)},
      // The 23-hour day of the change stays 23 hours long a day earlier.
      {TwentyFourHour, local(2026, 3, 29, 0, 0), local(2026, 3, 30, 0, 0), kOneDay, {},
       local(2026, 3, 28, 0, 0), local(2026, 3, 28, 23, 0)},
      {TwentyFourHour, local(2026, 3, 29, 0, 0), local(2026, 3, 30, 0, 0), kPreviousPeriod, {},
       local(2026, 3, 28, 1, 0), local(2026, 3, 29, 0, 0)},
      // Month ends.
      {TimeWindowDetail, local(2026, 3, 1, 0, 30), local(2026, 3, 1, 2, 30), kOneDay, {},
       local(2026, 2, 28, 0, 30), local(2026, 2, 28, 2, 30)},
      {TimeWindowSummary, local(2026, 3, 31, 9, 0), local(2026, 3, 31, 9, 15), kSevenDays, {},
       local(2026, 3, 24, 9, 0), local(2026, 3, 24, 9, 15)},
      {TimeWindowSummary, local(2026, 12, 1, 8, 0), local(2026, 12, 1, 10, 0), kChosenStart,
       local(2026, 11, 15, 12, 0), local(2026, 11, 15, 12, 0), local(2026, 11, 15, 14, 0)},
      // Day types move whole local days and keep their clock times.
      {MultiDay, local(2026, 12, 1, 0, 0), local(2026, 12, 5, 0, 0), kPreviousPeriod, {},
       local(2026, 11, 27, 0, 0), local(2026, 12, 1, 0, 0)},
      {MultiDayTimeWindow, local(2026, 12, 1, 8, 0), local(2026, 12, 5, 17, 0), kPreviousPeriod, {},
       local(2026, 11, 26, 8, 0), local(2026, 11, 30, 17, 0)},
      {MultiDay, local(2026, 10, 26, 0, 0), local(2026, 10, 28, 0, 0), kOneDay, {},
       local(2026, 10, 25, 0, 0), local(2026, 10, 27, 0, 0)},
      {MultiDay, local(2026, 3, 1, 0, 0), local(2026, 3, 3, 0, 0), kSevenDays, {},
       local(2026, 2, 22, 0, 0), local(2026, 2, 24, 0, 0)},
      {MultiDayTimeWindow, local(2026, 12, 1, 8, 0), local(2026, 12, 3, 17, 0), kChosenStart,
       local(2026, 11, 10, 23, 45), local(2026, 11, 10, 8, 0), local(2026, 11, 12, 17, 0)},
  };
  for (const auto& c : cases) {
    const GraphQuery shown = shownQuery(c.type, c.start, c.end);
    const GraphQuery e = earlier(shown, c.shift, at(c.chosen));
    const std::string name = c.start.toString(Qt::ISODate).toStdString() + " shift " + std::to_string(c.shift);
    EXPECT_EQ(e.GetStart().toLocal(), c.earlierStart) << name;
    EXPECT_EQ(e.GetEnd().toLocal(), c.earlierEnd) << name;
    EXPECT_TRUE(acceptable(shown, e)) << name;
    EXPECT_EQ(offsetSeconds(shown, e), c.earlierStart.secsTo(c.start)) << name;
    GraphQuery rest = e;  // nothing but the window moves
    rest.SetStart(shown.GetStart());
    rest.SetEnd(shown.GetEnd());
    EXPECT_EQ(rest, shown) << name;
  }
  // A chosen start at or after the shown start is no earlier period.
  const GraphQuery shown = shownQuery(TimeWindowSummary, local(2026, 12, 1, 8, 0), local(2026, 12, 1, 10, 0));
  EXPECT_FALSE(acceptable(shown, earlier(shown, kChosenStart, at(local(2026, 12, 1, 8, 0)))));
  EXPECT_TRUE(acceptable(shown, earlier(shown, kChosenStart, at(local(2026, 12, 1, 7, 59)))));
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
