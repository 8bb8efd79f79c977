#include "chart/CChart3D.h"

#include <gtest/gtest.h>

namespace {

TEST(CChart3DGrid, RowsAndColumnsSitAtTheirCumulativeSpacing) {
  CChart3D chart;
  chart.setGridSize(6, 3);
  chart.setColumnSpacing(1, 0.25);
  chart.setColumnSpacing(2, 1.5);
  EXPECT_EQ(std::tuple(chart.columnPosition(1), chart.columnPosition(2), chart.columnPosition(3),
                       chart.rowPosition(6)),
            std::tuple(0.0, 0.25, 1.75, 5.0));
  // Out-of-range spacings are ignored rather than written past the grid.
  chart.setColumnSpacing(3, 9.0);
  chart.setColumnSpacing(0, 9.0);
  EXPECT_EQ(chart.columnPosition(3), 1.75);
}

TEST(CChart3DGrid, ANewSizeStartsFromHolesAndUnitSpacing) {
  CChart3D chart;
  chart.setGridSize(3, 2);
  chart.setColumnSpacing(1, 4.0);
  chart.setValues({1, 2, 3, 4, 5, 6});
  EXPECT_EQ(chart.value(2, 2), 4.0);
  chart.setGridSize(3, 3);
  EXPECT_EQ(std::pair(chart.columnSpacing(1), chart.value(2, 2)), std::pair(1.0, Blocks::NO_DATA));
  // Short value lists are padded with holes, cells outside the grid read as holes.
  chart.setValues({7});
  EXPECT_EQ(std::tuple(chart.value(1, 1), chart.value(3, 3), chart.value(0, 1)),
            std::tuple(7.0, Blocks::NO_DATA, Blocks::NO_DATA));
}

// Actions are code, x, y: 1 starts a zoom, 5 moves, 2 ends it.
TEST(CChart3DView, ZoomsByAFixedFactorPerGesture) {
  const struct {
    std::vector<std::array<int, 3>> actions;
    double magnification;
  } cases[] = {
      {{{1, 50, 50}, {5, 50, 50}, {5, 50, 60}, {2, 50, 60}}, 1.25},  // down zooms in
      {{{1, 50, 50}, {5, 50, 50}, {5, 50, 40}, {2, 50, 40}}, 0.8},   // up zooms out
      {{{1, 50, 50}, {5, 50, 50}, {2, 50, 50}}, 1.0},                // no move, no zoom
      {{{5, 50, 60}, {2, 50, 60}}, 1.0},                             // an end without a start
      {{{1, 0, 0}, {5, 0, 0}, {5, 0, 9}, {2, 0, 9}, {1, 0, 0}, {5, 0, 0}, {5, 0, 9}, {2, 0, 9}}, 1.5625},
  };
  for (const auto& c : cases) {
    CChart3D chart;
    for (const auto& a : c.actions) chart.action(a[0], a[1], a[2]);
    EXPECT_DOUBLE_EQ(chart.view().magnification, c.magnification) << c.actions.size();
  }
}

TEST(CChart3DView, ElevationStopsAtTheSurfaceLimitsRotationDoesNot) {
  CChart3D chart;
  chart.setElevation(-30.0);
  EXPECT_EQ(chart.view().elevation, CChart3D::kMinimumElevation);
  chart.setElevation(120.0);
  chart.setRotation(725.0);
  EXPECT_EQ(std::pair(chart.view().elevation, chart.view().rotation),
            std::pair(CChart3D::kMaximumElevation, 725.0));
}

TEST(CChart3DState, MenuSwitchesAreKeptAndBatchModeNests) {
  CChart3D chart;
  chart.setMenuItem(346, true);
  EXPECT_EQ(std::pair(chart.menuItem(346), chart.menuItem(999)), std::pair(true, false));
  // On, on, off, off, and an extra off that does not go negative; then on.
  const std::pair<bool, bool> steps[] = {{true, true},   {true, true},   {false, true},
                                         {false, false}, {false, false}, {true, true}};
  for (const auto& [on, inBatch] : steps) {
    chart.setBatch(on);
    EXPECT_EQ(chart.inBatch(), inBatch);
  }
}

}  // namespace

TEST(CChart3DLabels, AtMostOneLabelPerTwentyFifthOfTheAxis) {
  const auto labels = [](double first, double step, int count, double minimum, double maximum) {
    CChart3D::Axis a;
    a.minimum = minimum;
    a.maximum = maximum;
    for (int i = 0; i < count; ++i) a.labels.append({first + step * i, QString::number(i)});
    a.labels.append({first + step, QStringLiteral(" ")});  // blank: never shown
    QVector<double> shown;
    for (const CChart3D::ValueLabel& l : CChart3D::shownLabels(a)) shown.append(l.value);
    return shown;
  };
  // 24 hours: every ribbon keeps its label.
  EXPECT_EQ(labels(1, 3, 24, 0, 70).size(), 24);
  // 97 ribbons labelled every third: every other of those.
  const QVector<double> detail = labels(4, 9, 32, 0, 289);
  EXPECT_EQ(detail.size(), 16);
  EXPECT_EQ(detail.value(1), 22.0);
  // The value axis counts down; a label outside the range takes no room.
  EXPECT_EQ(labels(50, -10, 7, -10, 40), (QVector<double>{40, 30, 20, 10, 0, -10}));
}
