#include "chart/SurfaceArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct Grid {
  std::vector<double> rowSpacing, columnSpacing, values;
  SurfaceGridInput input(int rows, int columns) const {
    return {rows, columns, &rowSpacing, &columnSpacing, &values};
  }
};

TEST(SurfaceArray, PositionsAreCumulativeAndHolesAreNaN) {
  // Two ribbons of three frequencies; the third row of each is holes.
  Grid g{{1, 1, 1, 1, 1}, {0.25, 2.0}, {}};
  g.values = {1, 2, 3, 1, 2, 3, 1e308, 1e308, 1e308, 4, 1e308, 6, 4, 1e308, 6, 1e308, 1e308, 1e308};
  std::unique_ptr<QSurfaceDataArray> a(buildSurfaceArray(g.input(6, 3)));
  ASSERT_EQ(a->size(), 6);
  const QSurfaceDataRow& first = *a->at(0);
  ASSERT_EQ(first.size(), 3);
  EXPECT_FLOAT_EQ(first[1].x(), 0.25f);
  EXPECT_FLOAT_EQ(first[2].x(), 2.25f);
  EXPECT_FLOAT_EQ(first[2].y(), 3.0f);
  EXPECT_FLOAT_EQ(a->at(4)->at(0).z(), 4.0f);
  for (int c = 0; c < 3; ++c) EXPECT_TRUE(std::isnan(a->at(2)->at(c).y())) << c;
  EXPECT_TRUE(std::isnan(a->at(3)->at(1).y()));  // a hole inside a ribbon
  EXPECT_FLOAT_EQ(a->at(3)->at(2).y(), 6.0f);
  qDeleteAll(*a);
}

TEST(SurfaceArray, ThinningKeepsEveryStepthColumnAndTheLast) {
  Grid g{{}, std::vector<double>(9, 1.0), std::vector<double>(10, 5.0)};
  const std::vector<std::pair<int, std::vector<float>>> cases{
      {1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {3, {0, 3, 6, 9}}, {4, {0, 4, 8, 9}}, {20, {0, 9}}};
  for (const auto& [step, xs] : cases) {
    std::unique_ptr<QSurfaceDataArray> a(buildSurfaceArray(g.input(1, 10), step));
    std::vector<float> got;
    for (const QSurfaceDataItem& item : *a->at(0)) got.push_back(item.x());
    EXPECT_EQ(got, xs) << step;
    qDeleteAll(*a);
  }
}

TEST(SurfaceArray, StepKeepsTheGridUnderTheLimitAndNoGridIsEmpty) {
  // 72 x 241 and 291 x 500 points; no limit, no thinning.
  for (const auto& [points, limit, step] :
       {std::tuple(100, 15000, 1), {15000, 15000, 1}, {17352, 15000, 2}, {145500, 15000, 10}, {145500, 0, 1}})
    EXPECT_EQ(columnStepFor(points, limit), step) << points << " " << limit;
  EXPECT_TRUE(std::unique_ptr<QSurfaceDataArray>(buildSurfaceArray(Grid().input(0, 0)))->isEmpty());
}

}  // namespace
