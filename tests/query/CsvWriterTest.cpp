#include "query/ComparisonCsvWriter.h"
#include "query/FrequencySeriesCsvWriter.h"
#include "query/RibbonCsvWriter.h"
#include "query/SummaryCsvWriter.h"

#include "query/GraphType.h"
#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTextStream>

namespace {

constexpr double N = Blocks::NO_DATA;
const QStringList kThresholdNames{"Low", "High", "Upper", "Lower"};
const double kAxis[] = {5, 10.5, 1234.5678};

// The files must read the same whatever the user's locale: a decimal comma
// would split every number into two fields.
class CsvWriter : public ::testing::Test {
protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

template <class Write>
QString written(Write write) {
  QString text;
  QTextStream out(&text);
  write(out);
  out.flush();
  return text;
}

// Ribbon 1 has no sample at all, ribbon 0 one hole.
RibbonSet threeRibbons(int type, bool percent) {
  RibbonSet set;
  set.kind = type == MultiDay || type == MultiDayTimeWindow ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon;
  set.ribbonCount = 3;
  set.frequencyCount = 3;
  set.percent = percent;
  const auto add = [](auto& ribbons, std::vector<double> values) {
    auto& b = ribbons.emplace_back();
    b.entryCount = static_cast<uint16_t>(values.size());
    std::copy(values.begin(), values.end(), b.values.begin());
    std::copy(std::begin(kAxis), std::end(kAxis), b.frequencies.begin());
  };
  for (const auto& v : std::vector<std::vector<double>>{{1.5, N, -3}, {N, N, N}, {10, 20, 123456789}})
    set.kind == RibbonSet::Kind::Day ? add(set.days, v) : add(set.ribbons, v);
  set.startLabels = {"A0", "A1", "A2"};
  set.endLabels = {"B0", "B1", "B2"};
  return set;
}

// Only the day types' levels carry the offset; percentages go out as sent.
TEST_F(CsvWriter, RibbonsWriteOneRowEachLatestFirst) {
  const struct {
    int type;
    bool percent;
    int unit;
    QString name, rows;
  } cases[] = {
      {MultiDay, false, LevelUnit::kDbm, "Multi Day", "A2,-38.75,-28.75,1.23457e+08\nA0,-47.25,,-51.75"},
      {MultiDayTimeWindow, true, LevelUnit::kDbuv, "Multi Day Time Window",
       "A2,10,20,1.23457e+08\nA0,1.5,,-3"},
      {TimeWindowDetail, false, LevelUnit::kDbm, "Time Window Detail", "A2,10,20,1.23457e+08\nA0,1.5,,-3"},
  };
  for (const auto& c : cases) {
    const RibbonSet set = threeRibbons(c.type, c.percent);
    EXPECT_EQ(written([&](QTextStream& out) {
                RibbonCsvWriter().write(out, "Port 7", 42, c.type, set, LevelUnit::fromCode(c.unit));
              }),
              "Port 7\nUID: 42\n" + c.name + "\n ,5,10.5,1234.57\n" + c.rows + "\n\n");
  }
}

TEST_F(CsvWriter, EmptyRibbonSetWritesOnlyTheHeader) {
  const QString text = written(
      [](QTextStream& out) { RibbonCsvWriter().write(out, "L", -1, MultiDay, RibbonSet{}, LevelUnit()); });
  EXPECT_EQ(text, "L\nUID: -1\nMulti Day\n \n\n");
}

SeriesStore::Series series(int statistic, std::vector<double> values) {
  SeriesStore::Series s;
  s.statistic = statistic;
  s.hasData = 1;
  s.entryCount = static_cast<int32_t>(values.size());
  std::copy(values.begin(), values.end(), s.values.begin());
  return s;
}

// The unit's name is on every row, the "% Exceeding" ones included; only
// levels carry the offset.
TEST_F(CsvWriter, SummaryWritesAStatisticPerRow) {
  SeriesStore store;
  store.count = 2;
  store.series[0] = series(Statistic::kAverage, {1, N, -2.5});
  std::copy(std::begin(kAxis), std::end(kAxis), store.series[0].frequencies.begin());
  store.series[1] = series(4, {0, 12.5, N});
  store.series[2] = series(Statistic::kMaximum, {99});  // beyond the count: not written

  const QString text = written([&](QTextStream& out) {
    SummaryCsvWriter().write(out, "Port 7", 42, store, LevelUnit::fromCode(LevelUnit::kDbm), kThresholdNames);
  });
  EXPECT_EQ(text,
            "Port 7\nUID:42\nTime Window Summary\n ,5,10.5,1234.57,\n"
            "Average (dBm),-47.75,,-51.25\n"
            "% Exceeding High (dBm),0,12.5,\n");
}

TEST_F(CsvWriter, FrequencySeriesRunsTimeDownTheRowsInLocalTime) {
  SeriesStore store;
  store.count = 2;
  store.series[0] = series(Statistic::kMaximum, {1, N, 3});
  for (int i = 0; i < 3; ++i)
    store.series[0].times[i] = static_cast<uint32_t>(utc(2024, 3, 31, 0, 30).toSecsSinceEpoch() + 1800 * i);
  store.series[1] = series(6, {50, 25});  // shorter: its missing point is an empty field

  const auto write = [&] {
    return written([&](QTextStream& out) {
      FrequencySeriesCsvWriter().write(out, "Port 7", 42, 123.25, store, LevelUnit::fromCode(LevelUnit::kDbm),
                                       kThresholdNames);
    });
  };

  // Berlin switches to summer time at 01:00 UTC on this day.
  EXPECT_EQ(write(),
            "Port 7\nUID: 42\nOne Freq. Time Window\nFrequency:,123.25,MHz\n"
            "Time:,Maximum (dBm),% Exceeding Lower (%)\n"
            "2024-03-31 01:30:00,-47.75,50\n"
            "2024-03-31 03:00:00,,25\n"
            "2024-03-31 03:30:00,-45.75,\n"
            "\n");
  store.count = 1;  // one statistic alone still has its rows
  EXPECT_TRUE(write().endsWith("2024-03-31 03:30:00,-45.75\n\n"));
  store.count = 0;  // and none writes no rows
  EXPECT_TRUE(write().endsWith("Time:\n\n"));
}

// One point a line, matched as the charts match them; levels with the offset,
// differences without, a hole on either side an empty difference.
TEST_F(CsvWriter, ComparisonWritesBothPeriodsAndTheDifferencePerPoint) {
  const LevelUnit dBm = LevelUnit::fromCode(LevelUnit::kDbm);
  SeriesStore now;
  now.count = 1;
  now.series[0] = series(Statistic::kAverage, {1, N, -2.5});
  std::copy(std::begin(kAxis), std::end(kAxis), now.series[0].frequencies.begin());
  Comparison c;
  c.shown.graphType = TimeWindowSummary;
  c.series = now;
  c.series.series[0].values = {0.5, 3, N};
  const QString lines = written([&](QTextStream& out) {
    ComparisonCsvWriter().writeSeries(out, "Port 7", 42, now, c, dBm, kThresholdNames);
  });
  EXPECT_EQ(lines.section('\n', 4),
            "Statistic,MHz,Current,Earlier,Difference\nAverage,5,-47.75,-48.25,0.5\nAverage,10.5,,-45.75,\n"
            "Average,1234.57,-51.25,,\n\n");
  const RibbonSet set = threeRibbons(TimeWindowDetail, false);
  c.shown.graphType = TimeWindowDetail;
  c.ribbons = set;
  const QString rows =
      written([&](QTextStream& out) { ComparisonCsvWriter().writeRibbons(out, "P", 1, set, c, dBm); });
  EXPECT_TRUE(rows.contains("Time Window Detail\n")) << rows.toStdString();
  EXPECT_TRUE(rows.contains("\nPeriod,MHz,Current,Earlier,Difference\nA0,5,-47.25,-47.25,0\nA0,10.5,,,\n"));
}

}  // namespace
