#include "ViewFixtures.h"
#include "chart/PeakSearch.h"
#include "query/NoData.h"
#include "support/QtPrinters.h"
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

// Cells keep the real frequency spacing: a gap keeps its width, holes stay
// empty (NaN) in the newest row.
TEST(HeatMapGridTest, CellsKeepTheRealFrequencySpacing) {
  const struct {
    std::vector<double> f;
    std::vector<std::vector<double>> values;
    std::vector<int> columnOfCell;
    QString newestRow;
  } cases[] = {{{5, 6, 7}, {{0, 0, 0}, {1, 2, 3}}, {0, 1, 2}, "1 2 3"},
               {{5, 6, 8}, {{0, 0, 0}, {1, 2, 3}}, {0, 1, 2, 2}, "1 2 3 3"},
               {{5, 6}, {{1, 2}, {H, 4}}, {0, 1}, "nan 4"},
               {{5}, {{1}, {2}}, {0}, "2"}};
  for (const auto& c : cases) {
    const HeatMapGrid h = HeatMapGrid::build(ribbonSet(2, c.f, false, c.values), 0.0);
    QStringList row;
    for (int k = 0; k < h.cells; ++k) row << QString::number(h.at(1, k));
    EXPECT_EQ(std::tuple(h.rows, h.columnOfCell, row.join(' ')), std::tuple(2, c.columnOfCell, c.newestRow));
  }
}

// A cell reads as the markers do: a level with its offset, a percentage without.
TEST(HeatMapGridTest, ReadsAsTheMarkersDo) {
  for (const auto& [percent, value] : {std::pair(false, "-38.750 dBm"), std::pair(true, "10.000%")}) {
    const RibbonGrid g = RibbonGrid::build(ribbonSet(2, {5, 6.5}, percent, {{0, 0}, {0, 10.0}}), -48.75);
    QStringList texts;
    for (const ReadoutLine& l : HeatMapGrid::readout(g, 1, 1, "dBm")) texts << l.text;
    EXPECT_EQ(texts, (QStringList{"6.500 MHz", "01:00", value}));
  }
}

}  // namespace
