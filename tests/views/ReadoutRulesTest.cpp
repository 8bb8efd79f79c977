#include "ViewFixtures.h"
#include "chart/PeakSearch.h"
#include "query/NoData.h"
#include "query/RibbonSet.h"
#include "views/HeatMapGrid.h"
#include "views/RibbonGrid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double H = Blocks::NO_DATA;

QVector<double> indices(qsizetype n) {
  QVector<double> x;
  for (qsizetype i = 0; i < n; ++i) x << static_cast<double>(i);
  return x;
}

struct PeakCase {
  const char* name;
  QVector<double> y;
  int from;
  int direction;  // 0: Marker to Peak
  int expected;
  double lo = -1e9;
  double hi = 1e9;
};

TEST(PeakSearchTest, MovesToTheExpectedPoint) {
  const PeakCase cases[] = {{"highest, first of equals", {1, 5, 3, 5, 2}, 0, 0, 1},
                            {"highest skips holes", {1, H, 3}, 0, 0, 2},
                            {"highest within the view only", {9, 1, 4, 2}, 0, 0, 2, 1.0, 3.0},
                            {"right to the first peak", {0, 10, 0, 10, 0}, 0, 1, 1},
                            {"right past the peak it sits on", {0, 10, 0, 10, 0}, 1, 1, 3},
                            {"left to the nearest", {0, 10, 0, 10, 0}, 4, -1, 3},
                            {"noise bump under a higher point is no peak", {0, 10, 8, 9, 0}, 1, 1, -1},
                            {"a fall of exactly 3 counts", {0, 3, 0}, 0, 1, 1},
                            {"a fall of 2.9 does not", {0, 2.9, 0}, 0, 1, -1},
                            {"plateau at its middle", {0, 6, 6, 6, 0}, 0, 1, 2},
                            {"plateau counts once", {0, 6, 6, 6, 0, 8, 0}, 2, 1, 5},
                            {"left skips the plateau it is on", {0, 8, 0, 6, 6, 6, 0}, 4, -1, 1},
                            {"holes are skipped as neighbours", {0, 10, H, H, 0, 7, 0}, 1, 1, 5},
                            {"plateau across a hole", {0, 6, H, 6, 0}, 0, 1, 1},
                            {"still rising at the edge is no peak", {0, 3, 10}, 0, 1, -1},
                            {"falling from the edge is no peak", {10, 0, 5, 0}, 3, -1, 2},
                            {"a peak outside the view is not seen", {0, 9, 0, 5, 0}, 4, -1, 3, 2.0, 4.0}};
  for (const PeakCase& c : cases) {
    const PeakSearch peaks(indices(c.y.size()), c.y, c.lo, c.hi);
    EXPECT_EQ(c.direction == 0 ? peaks.highest() : peaks.next(c.from, c.direction), c.expected) << c.name;
  }
}

// Two ribbons over `f`; ribbon 1 is the newest.
RibbonSet twoRibbons(const std::vector<double>& f, const std::vector<std::vector<double>>& values,
                     bool percent = false) {
  return makeRibbons(
      RibbonSet::Kind::Ribbon, 2, static_cast<int>(f.size()),
      [&](int i, int j) { return values[static_cast<size_t>(i)][static_cast<size_t>(j)]; },
      [&](int j) { return f[static_cast<size_t>(j)]; }, percent);
}

struct HeatCase {
  const char* name;
  std::vector<double> f;
  std::vector<std::vector<double>> values;
  std::vector<int> columnOfCell;
  std::vector<double> newestRow;  // NaN: a hole
};

class HeatMapGridTest : public ::testing::TestWithParam<HeatCase> {};

TEST_P(HeatMapGridTest, CellsKeepTheRealFrequencySpacing) {
  const HeatCase& c = GetParam();
  const HeatMapGrid h = HeatMapGrid::build(twoRibbons(c.f, c.values), 0.0);
  ASSERT_EQ(h.rows, 2) << c.name;
  EXPECT_EQ(h.columnOfCell, c.columnOfCell) << c.name;
  ASSERT_EQ(h.cells, static_cast<int>(c.newestRow.size())) << c.name;
  for (int k = 0; k < h.cells; ++k) {
    const double want = c.newestRow[static_cast<size_t>(k)];
    if (std::isnan(want))
      EXPECT_TRUE(std::isnan(h.at(1, k))) << c.name << " cell " << k;
    else
      EXPECT_EQ(h.at(1, k), want) << c.name << " cell " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeatMapGridTest,
    ::testing::Values(
        HeatCase{"even plan", {5, 6, 7}, {{0, 0, 0}, {1, 2, 3}}, {0, 1, 2}, {1, 2, 3}},
        HeatCase{"a gap keeps its width", {5, 6, 8}, {{0, 0, 0}, {1, 2, 3}}, {0, 1, 2, 2}, {1, 2, 3, 3}},
        HeatCase{"holes stay empty", {5, 6}, {{1, 2}, {H, 4}}, {0, 1}, {NAN, 4}},
        HeatCase{"one frequency", {5}, {{1}, {2}}, {0}, {2}}));

struct CellTextCase {
  const char* name;
  double raw;
  bool percent;
  double offset;
  const char* unit;
  QString value;
};

class HeatMapReadoutTest : public ::testing::TestWithParam<CellTextCase> {};

TEST_P(HeatMapReadoutTest, ReadsAsTheMarkersDo) {
  const CellTextCase& c = GetParam();
  const RibbonGrid g = RibbonGrid::build(twoRibbons({5, 6.5}, {{0, 0}, {0, c.raw}}, c.percent), c.offset);
  const QVector<ReadoutLine> lines = HeatMapGrid::readout(g, 1, 1, QString::fromLatin1(c.unit));
  ASSERT_EQ(lines.size(), 3) << c.name;
  EXPECT_EQ(lines[0].text, QStringLiteral("6.500 MHz")) << c.name;
  EXPECT_EQ(lines[1].text, QStringLiteral("01:00")) << c.name;
  EXPECT_EQ(lines[2].text, c.value) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeatMapReadoutTest,
    ::testing::Values(CellTextCase{"level with offset", 10.0, false, -48.75, "dBm",
                                   QStringLiteral("-38.750 dBm")},
                      CellTextCase{"percentage", 12.5, true, -48.75, "dBm", QStringLiteral("12.500%")},
                      CellTextCase{"hole", H, false, 0.0, "dBmV", QStringLiteral("Unavailable")}));

}  // namespace
