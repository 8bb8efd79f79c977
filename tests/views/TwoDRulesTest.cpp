#include "views/LevelAxis.h"
#include "views/SeriesRules.h"
#include "views/ThresholdLines.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double H = Blocks::NO_DATA;

TEST(LevelAxisTest, AutoReferenceIsOneDivisionAboveOnAMultipleOfTheScale) {
  const struct {
    double highest;
    int scale;
    double expected;
  } cases[] = {{37.2, 10, 40.0},    {40.0, 10, 50.0},    {-12.5, 10, -10.0}, {-20.0, 10, -20.0},
               {0.0, 10, 0.0},      {0.5, 10, 10.0},     {37.2, 5, 40.0},    {37.2, 2, 38.0},
               {-38.75, 10, -30.0}, {-200.0, 10, -200.0}};
  for (const auto& c : cases)
    EXPECT_EQ(LevelAxis::autoReference(c.highest, c.scale), c.expected) << c.highest << " scale " << c.scale;
}

TEST(LevelAxisTest, EightDivisionsStayWithin220) {
  const struct {
    double reference;
    int scale;
    double expected;
  } cases[] = {{250.0, 10, 220.0},   {220.0, 10, 220.0}, {-10.0, 30, 20.0},   {-140.0, 10, -140.0},
               {-150.0, 10, -140.0}, {40.0, 10, 40.0},   {-200.0, 2, -200.0}, {-210.0, 2, -204.0}};
  for (const auto& c : cases)
    EXPECT_EQ(LevelAxis::clamp(c.reference, c.scale), c.expected) << c.reference << " scale " << c.scale;
}

TEST(LevelAxisTest, RaiseLowerAndTheirEnablingRules) {
  LevelAxis axis;
  axis.referenceStep = 5;
  for (const double level : {12.0, -33.0}) axis.track(level);
  axis.raise();
  axis.lower();
  axis.lower();
  EXPECT_EQ(axis.referenceLevel, 35.0);
  // Raising needs the bottom to stay within a step of the highest level.
  EXPECT_EQ(std::tuple(axis.canRaise(17.0), axis.canRaise(17.5), axis.canLower(-38.0), axis.canLower(-38.5)),
            std::tuple(true, false, true, false));
}

// Point i at i MHz; the rule counts the points shown, from the first shown.
TEST(SeriesRulesTest, FrequencyLabelsEveryShownPointBelow15ElseEveryShownOver15th) {
  const struct {
    int count;
    double start, stop;
    int labels, first, step;
  } cases[] = {{0, 0, 0, 0, 0, 1},          {1, 0, 0, 1, 0, 1},        {14, 0, 13, 14, 0, 1},
               {15, 0, 14, 15, 0, 1},       {29, 0, 28, 29, 0, 1},     {30, 0, 29, 15, 0, 2},
               {45, 0, 44, 15, 0, 3},       {241, 0, 240, 16, 0, 16},  {500, 0, 499, 16, 0, 33},
               {500, 20, 21, 2, 20, 1},     {500, 90, 120, 16, 90, 2}, {500, 90.5, 119.5, 29, 91, 1},
               {500, 470, 499, 15, 470, 2}, {500, 600, 700, 0, 0, 1}};
  for (const auto& c : cases) {
    QVector<double> f;
    for (int i = 0; i < c.count; ++i) f << i;
    const QVector<int> indices = SeriesRules::frequencyLabelIndices(f, c.start, c.stop);
    ASSERT_EQ(indices.size(), c.labels) << c.count << " " << c.start;
    for (int i = 0; i < indices.size(); ++i)
      EXPECT_EQ(indices[i], c.first + i * c.step) << c.count << " " << c.start;
  }
}

// Over a window of 1000 s the gap is 12 s; the first and last are always labelled.
TEST(SeriesRulesTest, TimeLabelsKeepTheirGap) {
  const std::pair<QVector<uint32_t>, QVector<bool>> cases[] = {
      {{}, {}},
      {{50}, {true}},
      {{0, 500, 1000}, {true, true, true}},
      {{0, 12, 25, 1000}, {true, false, true, true}},  // exactly the gap is not enough
      {{0, 500, 990, 1000}, {true, true, false, true}},
      {{0, 1, 999, 1000}, {true, false, false, true}}};
  for (const auto& [times, labelled] : cases)
    EXPECT_EQ(SeriesRules::timeLabelled(times), labelled) << times.size();
}

TEST(SeriesRulesTest, OnlyPointsWithoutNeighboursStandAlone) {
  const std::pair<QVector<double>, QVector<double>> cases[] = {
      {{H, 4.0, H}, {H, 4.0, H}},
      {{7.0}, {7.0}},
      {{1.0, H, 2.0, 3.0}, {1.0, H, H, H}},
      {{1.0, 2.0, H, 3.0}, {H, H, H, 3.0}},
      {{1.0, 2.0, 3.0}, {H, H, H}},
      {{H, H}, {H, H}},
      {{std::numeric_limits<double>::infinity(), 5.0, H}, {H, 5.0, H}}};  // infinity is a hole
  for (const auto& [raw, isolated] : cases)
    EXPECT_EQ(SeriesRules::isolatedPoints(raw, raw), isolated) << raw[0];
}

const std::array<double, 5> kLevels{10.0, 20.0, 30.0, 40.0, 50.0};

// Limit flags sharing a bit with the mask go to the first series of a pair.
TEST(ThresholdLinesTest, TheKindMaskRoutesEachLevelToOneSeriesOfItsPair) {
  ThresholdTable table{};
  table[0] = {1, 0x1, 5.0, {1, 2, 3, 0, 4}, kLevels};
  const ThresholdLines lines = ThresholdLines::build(table, 1, -48.75);
  for (size_t k = 0; k < 5; ++k) {
    const auto& pair = lines.pairs[k];
    const double level = 10.0 * static_cast<double>(k + 1) - 48.75;
    const bool first = k == 0 || k == 2;
    EXPECT_EQ(std::tuple(pair.x, pair.first, pair.second),
              std::tuple(QVector<double>{5.0}, QVector<double>{first ? level : H},
                         QVector<double>{first ? H : level}))
        << k;
  }
}

TEST(ThresholdLinesTest, EntriesCountedSkippedAndHoled) {
  ThresholdTable table{};
  table[0] = {1, 1, 5.0, {1, 1, 1, 1, 1}, kLevels};
  table[1] = {1, 1, 5.0, {1, 1, 1, 1, 1}, kLevels};   // same frequency: skipped
  table[2] = {0, 1, 10.0, {1, 0, 0, 0, 0}, kLevels};  // not in use but carries a limit: a hole
  table[3] = {0, 1, 15.0, {0, 0, 0, 0, 0}, kLevels};  // not counted, yet within the first n: a hole
  table[4] = {1, 1, 20.0, {1, 1, 1, 1, 1}, kLevels};  // counted, but beyond the first n = 4 entries
  const auto lines = ThresholdLines::build(table, 5, 0.0);
  const auto& pair = lines.pairs[0];
  EXPECT_EQ(pair.x, (QVector<double>{5.0, 10.0, 15.0}));
  EXPECT_EQ(pair.first, (QVector<double>{10.0, H, H}));
  EXPECT_EQ(pair.second, (QVector<double>{H, H, H}));
  // No entries, no lines.
  EXPECT_TRUE(ThresholdLines::build(table, 0, 0.0).pairs[0].x.isEmpty());
  EXPECT_TRUE(ThresholdLines::build(ThresholdTable{}, 250, 0.0).pairs[4].x.isEmpty());
}

}  // namespace
