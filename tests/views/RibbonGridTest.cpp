#include "ViewFixtures.h"
#include "query/RibbonSet.h"
#include "views/RibbonGrid.h"

#include <gtest/gtest.h>

namespace {

constexpr double kHole = Blocks::NO_DATA;

// R ribbons over the given frequencies; value j of ribbon i is 10 i + j
// unless `values` says otherwise.
RibbonSet ribbonSet(int r, const std::vector<double>& f, bool percent = false,
                    const std::vector<std::vector<double>>& values = {}) {
  return makeRibbons(
      RibbonSet::Kind::Ribbon, r, static_cast<int>(f.size()),
      [&](int i, int j) {
        return values.empty() ? 10.0 * i + j : values[static_cast<size_t>(i)][static_cast<size_t>(j)];
      },
      [&](int j) { return f[static_cast<size_t>(j)]; }, percent);
}

TEST(RibbonGridBuild, EachRibbonIsTwoEqualRowsAndAHoleRow) {
  const RibbonGrid g = RibbonGrid::build(ribbonSet(3, {5.0, 5.25, 6.0}), 0.0);
  ASSERT_EQ(g.rows(), 9);
  ASSERT_EQ(g.columns, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(g.at(3 * i, j), 10.0 * i + j);
      EXPECT_EQ(g.at(3 * i + 1, j), 10.0 * i + j);
      EXPECT_EQ(g.at(3 * i + 2, j), kHole);
    }
  EXPECT_EQ(g.labels[2], QStringLiteral("02:00"));
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
    EXPECT_EQ(g.at(0, 0), c.plotted) << c.raw << " " << c.offset;
    EXPECT_EQ(g.at(1, 0), c.plotted) << c.raw << " " << c.offset;
  }
}

struct EmptyCase {
  const char* name;
  RibbonSet set;
};

TEST(RibbonGridBuild, NothingToDrawWithoutRibbonsFrequenciesOrValues) {
  const std::vector<EmptyCase> cases{
      {"no_ribbons", ribbonSet(0, {5.0, 6.0})},
      {"no_frequencies", ribbonSet(2, {})},
      {"holes_only", ribbonSet(2, {5.0, 6.0}, false, {{kHole, kHole}, {kHole, kHole}})},
  };
  for (const EmptyCase& c : cases) {
    const RibbonGrid g = RibbonGrid::build(c.set, 0.0);
    EXPECT_TRUE(g.empty()) << c.name;
    EXPECT_FALSE(RibbonAxes::extremes(g, 0, g.columns - 1).any()) << c.name;
  }
}

TEST(RibbonGridExtremes, CoverTheWindowOnlyAndSkipHoles) {
  const RibbonGrid g = RibbonGrid::build(
      ribbonSet(2, {5, 6, 7, 8}, false, {{-50.0, 3.0, kHole, 99.0}, {kHole, 4.0, 20.0, 1.0}}), 0.0);
  const RibbonAxes::Extremes whole = RibbonAxes::extremes(g, 0, 3);
  EXPECT_EQ(whole.minimum, -50.0);
  EXPECT_EQ(whole.maximum, 99.0);
  const RibbonAxes::Extremes inner = RibbonAxes::extremes(g, 1, 2);
  EXPECT_EQ(inner.minimum, 3.0);
  EXPECT_EQ(inner.maximum, 20.0);
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

TEST(FrequencyLabels, EndsAlwaysLabelledAndNoLabelWithinTheGap) {
  // 0.125 MHz apart over 10 MHz with label size 33: gap (33 + 7) x 10 x 0.001 = 0.4.
  std::vector<double> f;
  for (int i = 0; i <= 80; ++i) f.push_back(5.0 + 0.125 * i);
  const QVector<QString> labels = RibbonAxes::frequencyLabels(f, 0, 80, 33);
  ASSERT_EQ(labels.size(), 81);
  EXPECT_EQ(labels[0], QStringLiteral("5.00"));
  EXPECT_EQ(labels[80], QStringLiteral("15.00"));
  int previous = 0;
  for (int c = 1; c < 80; ++c) {
    if (labels[c].trimmed().isEmpty()) continue;
    EXPECT_GT(f[c] - f[previous], 0.4) << c;
    EXPECT_GT(f[80] - f[c], 0.4) << c;
    previous = c;
  }
  // The first inner label is the first point more than the gap away.
  EXPECT_TRUE(labels[3].trimmed().isEmpty());
  EXPECT_EQ(labels[4], QStringLiteral("5.50"));
  EXPECT_EQ(labels[76], QStringLiteral("14.50"));
  // Nothing crowds the last label.
  EXPECT_TRUE(labels[77].trimmed().isEmpty());
  EXPECT_TRUE(labels[79].trimmed().isEmpty());
}

TEST(FrequencyLabels, OutsideTheWindowStayBlank) {
  const std::vector<double> f{5.0, 6.0, 7.0, 8.0, 9.0, 10.0};
  const QVector<QString> labels = RibbonAxes::frequencyLabels(f, 2, 4, 0);
  EXPECT_TRUE(labels[0].trimmed().isEmpty());
  EXPECT_TRUE(labels[5].trimmed().isEmpty());
  EXPECT_EQ(labels[2], QStringLiteral("7.00"));
  EXPECT_EQ(labels[3], QStringLiteral("8.00"));
  EXPECT_EQ(labels[4], QStringLiteral("9.00"));
}

struct ThinCase {
  int ribbons;
  bool thinned;
  std::vector<int> labelled;
};

TEST(RibbonLabels, ThinnedToEveryThirdFromTwentyFive) {
  const std::vector<ThinCase> cases{
      {24, true, {}},  // all 24
      {25, true, {1, 4, 7, 10, 13, 16, 19, 22}},
      {27, true, {1, 4, 7, 10, 13, 16, 19, 22, 25}},
      {30, false, {}},  // the 24 Hour report labels every hour
  };
  for (const ThinCase& c : cases) {
    const std::vector<int> got = RibbonAxes::labelledRibbons(c.ribbons, c.thinned);
    if (c.labelled.empty()) {
      EXPECT_EQ(static_cast<int>(got.size()), c.ribbons);
    } else {
      EXPECT_EQ(got, c.labelled) << c.ribbons;
      EXPECT_EQ(static_cast<int>(got.size()), (c.ribbons + 1) / 3);
    }
  }
}

TEST(VersionText, OneNumberOrARange) {
  EXPECT_EQ(RibbonAxes::versionText(12, 12), QStringLiteral("12.X"));
  EXPECT_EQ(RibbonAxes::versionText(12, 13), QStringLiteral("12.X - 13.X"));
  EXPECT_EQ(RibbonAxes::versionText(0, 0), QStringLiteral("0.X"));
}

TEST(ValueAxis, LabelsFromTheTopDownAndLevelsFromTheBottomUp) {
  // Gap (33 + 7) x 40 x 0.001 = 1.6: every step of 10 is labelled.
  const QVector<RibbonAxes::ValueLabel> labels = RibbonAxes::valueLabels(30, -10, 10, 40, 33);
  ASSERT_EQ(labels.size(), 4);  // 30, 20, 10, 0; the bottom has none
  EXPECT_EQ(labels[0].text, QStringLiteral("30"));
  EXPECT_EQ(labels[3].text, QStringLiteral("0"));
  // With a gap wider than the step, only every other survives.
  const QVector<RibbonAxes::ValueLabel> crowded = RibbonAxes::valueLabels(100, 0, 2, 100, 93);
  EXPECT_EQ(crowded[0].text, QStringLiteral("100"));
  // Gap (93 + 7) x 100 x 0.001 = 10: 98 to 90 crowd the top, 88 is clear.
  EXPECT_TRUE(crowded[1].text.trimmed().isEmpty());
  EXPECT_TRUE(crowded[5].text.trimmed().isEmpty());
  EXPECT_EQ(crowded[6].text, QStringLiteral("88"));

  EXPECT_EQ(RibbonAxes::valueLevels(30, -10, 10), (QVector<double>{-10, 0, 10, 20, 30}));
  EXPECT_EQ(RibbonAxes::valueLevels(40, 0, 10), (QVector<double>{10, 20, 30, 40}));
}

}  // namespace
