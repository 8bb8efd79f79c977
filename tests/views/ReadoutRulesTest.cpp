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
                            {"plateau counts once", {0, 6, 6, 6, 0, 8, 0}, 1, 1, 5},
                            {"left skips the plateau it is on", {0, 8, 0, 6, 6, 6, 0}, 5, -1, 1},
                            {"equal tops across a shallow dip are two peaks", {0, 6, 5, 6, 0}, 1, 1, 3},
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

// Data coordinates to ribbon and column: a cell reaches half a width either
// side of its centre, a row half a row.
TEST(HeatMapGridTest, HitFindsTheCellUnderThePointer) {
  const HeatMapGrid h = HeatMapGrid::build(ribbonSet(2, {5, 6, 8}), 0.0);  // cells at 5, 6, 7, 8
  const HeatMapGrid one = HeatMapGrid::build(ribbonSet(1, {5}), 0.0);
  const std::tuple<const HeatMapGrid*, double, double, const char*> cases[] = {
      {&h, 5.0, 0.0, "0 0"},   {&h, 4.6, 0.0, "0 0"}, {&h, 4.4, 0.0, "-"}, {&h, 7.0, 1.4, "1 2"},
      {&h, 8.4, 1.0, "1 2"},   {&h, 8.6, 1.0, "-"},   {&h, 7.0, 1.6, "-"}, {&h, 7.0, -0.6, "-"},
      {&one, 5.4, 0.0, "0 0"}, {&one, 5.6, 0.0, "-"}};
  for (const auto& [grid, frequency, row, expected] : cases) {
    int ribbon = -1, column = -1;
    const bool hit = grid->hit(frequency, row, ribbon, column);
    EXPECT_EQ(hit ? QString("%1 %2").arg(ribbon).arg(column) : "-", expected) << frequency << " " << row;
  }
}

// The hover box sits right of and below the pointer, flips where it would
// leave the plot, and stays inside.
TEST(HoverReadoutTest, BoxFlipsAtTheEdgesAndStaysInThePlot) {
  const QRect plot(50, 40, 400, 300);  // right 449, bottom 339
  const std::tuple<QPoint, QSize, QPoint> cases[] = {
      {{100, 100}, {100, 50}, {112, 112}}, {{338, 100}, {100, 50}, {350, 112}},  // just fits
      {{339, 100}, {100, 50}, {227, 112}}, {{100, 278}, {100, 50}, {112, 290}},
      {{100, 279}, {100, 50}, {112, 217}}, {{60, 50}, {380, 50}, {50, 62}},      // flipped past the edge
      {{500, 100}, {100, 50}, {350, 112}}, {{440, 330}, {500, 400}, {50, 40}}};  // larger than the plot
  for (const auto& [pointer, box, at] : cases)
    EXPECT_EQ(HoverReadout::place(pointer, box, plot), at) << pointer.x() << "," << pointer.y();
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
