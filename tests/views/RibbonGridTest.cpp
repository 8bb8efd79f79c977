#include "ViewFixtures.h"
#include "support/QtPrinters.h"
#include "views/RibbonGrid.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

constexpr double kHole = Blocks::NO_DATA;

// The labels a user sees, blank ones empty, '|'-separated.
template <class Labels, class Text>
QString shown(const Labels& labels, Text text) {
  QStringList out;
  for (const auto& l : labels) out << text(l).trimmed();
  return out.join('|');
}

TEST(RibbonGridBuild, EachRibbonIsTwoEqualRowsAndAHoleRow) {
  const RibbonGrid g = RibbonGrid::build(ribbonSet(3, {5.0, 5.25, 6.0}), 0.0);
  ASSERT_EQ(std::pair(g.rows(), g.columns), std::pair(9, 3));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_EQ(std::tuple(g.at(3 * i, j), g.at(3 * i + 1, j), g.at(3 * i + 2, j)),
                std::tuple(10.0 * i + j, 10.0 * i + j, kHole));
  EXPECT_EQ(g.labels[2], "02:00");
  EXPECT_FALSE(g.empty());
}

TEST(RibbonGridBuild, ValuesCarryTheOffsetOnlyForLevelsAndClampHoles) {
  const struct {
    double raw;
    bool percent;
    double offset, plotted;
  } cases[] = {{12.5, false, 0.0, 12.5},      {12.5, false, -48.75, 12.5 - 48.75},
               {12.5, false, 60.0, 72.5},     {12.5, true, 60.0, 12.5},  // a percentage ignores the offset
               {kHole, false, -48.75, kHole},                            // a hole stays exact
               {1.5e308, false, 60.0, kHole}};                           // beyond a hole: clamped to it
  for (const auto& c : cases) {
    const RibbonGrid g = RibbonGrid::build(ribbonSet(1, {5.0, 6.0}, c.percent, {{c.raw, 1.0}}), c.offset);
    EXPECT_EQ(std::pair(g.at(0, 0), g.at(1, 0)), std::pair(c.plotted, c.plotted)) << c.raw << " " << c.offset;
  }
}

TEST(RibbonGridBuild, NothingToDrawWithoutRibbonsFrequenciesOrValues) {
  for (const RibbonSet& set : {ribbonSet(0, {5.0, 6.0}), ribbonSet(2, {}),
                               ribbonSet(2, {5.0, 6.0}, false, {{kHole, kHole}, {kHole, kHole}})}) {
    const RibbonGrid g = RibbonGrid::build(set, 0.0);
    EXPECT_TRUE(g.empty()) << set.ribbonCount << " " << set.frequencyCount;
    EXPECT_FALSE(RibbonAxes::extremes(g, 0, g.columns - 1).any()) << set.ribbonCount;
  }
}

TEST(RibbonGridExtremes, CoverTheWindowOnlyAndSkipHoles) {
  const RibbonGrid g = RibbonGrid::build(
      ribbonSet(2, {5, 6, 7, 8}, false, {{-50.0, 3.0, kHole, 99.0}, {kHole, 4.0, 20.0, 1.0}}), 0.0);
  for (const auto& [first, last, minimum, maximum] :
       {std::tuple(0, 3, -50.0, 99.0), std::tuple(1, 2, 3.0, 20.0)}) {
    const RibbonAxes::Extremes e = RibbonAxes::extremes(g, first, last);
    EXPECT_EQ(std::pair(e.minimum, e.maximum), std::pair(minimum, maximum)) << first;
  }
}

// The 24 Hour and Multi-Day rule takes the column at or below a bound, the
// Time Window Detail rule the one at or above.
TEST(RibbonAxesTest, ColumnSearchFindsTheColumnOfABound) {
  const std::vector<double> f{5.0, 5.5, 6.0, 7.0};
  const struct {
    double bound;
    int below, above;
  } cases[] = {{5.5, 1, 1}, {5.50009, 1, 2}, {5.49991, 1, 1}, {5.7, 1, 2},  // within tolerance and between
               {4.0, 0, 0}, {5.0, 0, 0},     {7.0, 3, 3},     {9.0, 3, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(RibbonAxes::columnAtOrBelow(f, c.bound), c.below) << c.bound;
    EXPECT_EQ(RibbonAxes::columnAtOrAbove(f, c.bound), c.above) << c.bound;
  }
}

// The ends of the window are always labelled; no label within the gap of
// another, nor outside the window.
TEST(FrequencyLabels, EndsAlwaysLabelledAndNoLabelWithinTheGap) {
  // 0.125 MHz apart over 10 MHz with label size 33: gap (33 + 7) x 10 x 0.001 = 0.4.
  std::vector<double> f;
  for (int i = 0; i <= 80; ++i) f.push_back(5.0 + 0.125 * i);
  QString every4th;  // the first point more than the gap away, then on; nothing crowds the last
  for (int i = 0; i <= 80; ++i)
    every4th += (i > 0 ? "|" : "") + (i % 4 ? QString() : QString::number(f[i], 'f', 2));
  const auto text = [](const QString& s) { return s; };
  EXPECT_EQ(shown(RibbonAxes::frequencyLabels(f, 0, 80, 33), text), every4th);
  EXPECT_EQ(shown(RibbonAxes::frequencyLabels({5.0, 6.0, 7.0, 8.0, 9.0, 10.0}, 2, 4, 0), text),
            "||7.00|8.00|9.00|");
}

TEST(RibbonLabels, ThinnedToEveryThirdFromTwentyFive) {
  const std::pair<int, std::vector<int>> cases[] = {{24, {}},  // all 24
                                                    {25, {1, 4, 7, 10, 13, 16, 19, 22}},
                                                    {27, {1, 4, 7, 10, 13, 16, 19, 22, 25}}};
  for (const auto& [ribbons, labelled] : cases) {
    std::vector<int> all(static_cast<size_t>(ribbons));
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(RibbonAxes::labelledRibbons(ribbons, true), labelled.empty() ? all : labelled) << ribbons;
  }
  EXPECT_EQ(RibbonAxes::labelledRibbons(30, false).size(), 30u);  // the 24 Hour report labels every hour
}

TEST(ValueAxis, LabelsFromTheTopDownAndLevelsFromTheBottomUp) {
  const auto text = [](const RibbonAxes::ValueLabel& l) { return l.text; };
  // Gap (33 + 7) x 40 x 0.001 = 1.6: every step of 10 is labelled; the bottom has none.
  EXPECT_EQ(shown(RibbonAxes::valueLabels(30, -10, 10, 40, 33), text), "30|20|10|0");
  // Gap (93 + 7) x 100 x 0.001 = 10: 98 to 90 crowd the top, 88 is clear.
  EXPECT_TRUE(shown(RibbonAxes::valueLabels(100, 0, 2, 100, 93), text).startsWith("100||||||88|"));
  EXPECT_TRUE(shown(RibbonAxes::valueLabels(100, 0, 2, 100, 92), text).startsWith("100|||||90|"));  // 9.9
  EXPECT_EQ(RibbonAxes::valueLevels(30, -10, 10), (QVector<double>{-10, 0, 10, 20, 30}));
  EXPECT_EQ(RibbonAxes::valueLevels(40, 0, 10), (QVector<double>{10, 20, 30, 40}));
  // A step of 0 read from the settings gives an empty axis, not an endless one.
  EXPECT_TRUE(RibbonAxes::valueLevels(30, -10, 0).isEmpty() &&
              RibbonAxes::valueLabels(30, -10, 0, 40, 33).isEmpty());
}

}  // namespace
