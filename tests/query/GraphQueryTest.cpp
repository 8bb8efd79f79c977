// Runs with TZ=Europe/Berlin: CET/CEST, switching on 2024-03-31 and 2024-10-27.
#include "core/Clock.h"
#include "core/SettingsStore.h"
#include "query/GraphQuery.h"
#include "query/QueryTestUtil.h"
#include "support/FixedClock.h"
#include "support/TempSettings.h"

#include <tuple>

namespace {

TEST(GraphQueryTest, WindowsEndAtTheLastQuarterHour) {
  const struct {
    QDateTime now, lastQuarter;
  } cases[] = {
      {utc(2024, 5, 10, 10, 7, 29), utc(2024, 5, 10, 10, 0)},
      {utc(2024, 5, 10, 10, 0, 0), utc(2024, 5, 10, 9, 45)},
      // 00:30 local on May 11: today's local midnight is May 10 22:00 UTC.
      {utc(2024, 5, 10, 22, 30, 0), utc(2024, 5, 10, 22, 15)},
      // Local day before crosses the spring switch: 23 hours, the shared
      // start is still 14:00 local (13:00 UTC).
      {utc(2024, 3, 31, 12, 7, 0), utc(2024, 3, 31, 12, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.now.toString(Qt::ISODate).toStdString());
    ScopedFixedClock clock(c.now);
    const GraphQuery q;
    EXPECT_EQ(q.end.toUtc(), c.lastQuarter);
    EXPECT_EQ(q.start24Hour, q.start);
    EXPECT_EQ(q.startMultiDayTimeWindow.toUtc(), q.start.toUtc().addSecs(-3600));
    // The shared start is the same local clock time on the day before.
    EXPECT_EQ(q.start.toLocal(), QDateTime(q.end.toLocal().date().addDays(-1), q.end.toLocal().time()));
    // Multi-Day spans yesterday, midnight to midnight, in local time.
    EXPECT_EQ(q.endMultiDay.toLocal(), QDateTime(q.end.toLocal().date(), QTime(0, 0)));
    EXPECT_EQ(q.startMultiDay.toLocal(), QDateTime(q.end.toLocal().date().addDays(-1), QTime(0, 0)));
  }
}

TEST(GraphQueryTest, ResetWithReferenceTime) {
  ScopedFixedClock clock(utc(2024, 5, 10, 10, 7));
  const struct {
    QDateTime reference;
    QDateTime start;
    QDateTime end;
  } cases[] = {
      {utc(2024, 5, 9, 8, 7), utc(2024, 5, 9, 7, 0), utc(2024, 5, 9, 9, 0)},
      {utc(2024, 5, 9, 8, 7, 31), utc(2024, 5, 9, 7, 15), utc(2024, 5, 9, 9, 15)},
      // The hour after the reference would pass the last quarter hour.
      {utc(2024, 5, 10, 9, 50), utc(2024, 5, 10, 8, 45), utc(2024, 5, 10, 10, 0)},
      // A reference that rounds to now or later falls back to the last quarter.
      {utc(2024, 5, 10, 10, 8), utc(2024, 5, 10, 9, 0), utc(2024, 5, 10, 10, 0)},
  };
  for (const auto& c : cases) {
    GraphQuery q;
    q.graphType = TwentyFourHour;
    q.Reset(at(c.reference));
    EXPECT_EQ(q.start.toUtc(), c.start) << c.reference.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(q.end.toUtc(), c.end) << c.reference.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(q.graphType, TimeWindowSummary);
  }
}

class GraphQueryRegistryTest : public TempSettingsTest {
protected:
  static RegistryKey section(SettingsStore& store) { return store.sectionKey("Settings"); }
};

TEST_F(GraphQueryRegistryTest, SelectionRoundTripWithoutDates) {
  GraphQuery out;
  out.graphType = OneFreqTimeWindow;
  out.statistics = {0, 1, 1, 0, 1, 0, 1};
  out.increment = Increment::k1Hour;
  out.statisticIndex = 5;
  out.frequency = 17.125;
  SettingsStore store;
  RegistryKey key = section(store);
  out.SaveToRegistry(key);
  const RegistryKey stored = section(store).subKey("Settings");
  EXPECT_EQ(stored.readRaw("Frequency").toString(), "17.13");  // "%.2lf"
  EXPECT_EQ(stored.readDword("Increment:"), 1);
  EXPECT_EQ(stored.readDword("Upper Low"), 1);
  EXPECT_EQ(stored.readDword("Lower Low"), 1);
  EXPECT_EQ(stored.valueNames().size(), 11);

  const auto selection = [](const GraphQuery& q) {
    return std::tuple(q.graphType, q.statistics, q.increment, q.statisticIndex);
  };
  GraphQuery in;
  in.LoadFromRegistry(section(store));
  EXPECT_EQ(selection(in), selection(out));
  EXPECT_DOUBLE_EQ(in.frequency, 17.13);

  // The first load after a launch with a reference time resets type and increment.
  GraphQuery launched;
  launched.LoadFromRegistry(section(store), true);
  EXPECT_EQ(selection(launched), std::tuple(TimeWindowSummary, out.statistics, Increment::k15Min, 5));
}

TEST_F(GraphQueryRegistryTest, UnreadableOrMissingValuesLeaveFieldsAlone) {
  writeFile(userFile(),
            "[All%20Versions]\n"
            "Settings\\Settings\\Graph%20Type=9\n"
            "Settings\\Settings\\Frequency=12.5MHz\n"
            "Settings\\Settings\\Increment%3A=day\n"
            "Settings\\Settings\\Maximum=1\n"
            "Settings\\Settings\\Radio=-3\n");
  SettingsStore store;
  GraphQuery q;
  q.graphType = MultiDay;
  q.increment = Increment::k1Hour;
  q.statisticIndex = 2;
  GraphQuery expected = q;
  expected.frequency = 12.5;  // the leading number, as a "%lf" scan reads it
  expected.statistics = {1, 1, 0, 0, 0, 0, 0};
  q.LoadFromRegistry(section(store));
  EXPECT_EQ(q, expected);

  for (const char* bad : {"abc", "", "nan", "inf", "1e999"}) {
    SettingsStore s;
    s.sectionKey("Settings").subKey("Settings").writeText("Frequency", bad);
    GraphQuery r;
    r.LoadFromRegistry(section(s));
    EXPECT_EQ(r.frequency, 5.0) << bad;
  }
}

}  // namespace
