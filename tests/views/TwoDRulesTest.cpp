#include "views/LevelAxis.h"
#include "views/SeriesRules.h"
#include "views/ThresholdDisplay.h"
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
  axis.track(12.0);
  axis.track(-33.0);
  axis.track(H);  // holes never become the highest level
  EXPECT_EQ(axis.highest, 12.0);
  EXPECT_EQ(axis.lowest, -33.0);
  axis.raise();
  EXPECT_EQ(axis.referenceLevel, 45.0);
  EXPECT_EQ(axis.bottom(), -35.0);
  axis.lower();
  axis.lower();
  EXPECT_EQ(axis.referenceLevel, 35.0);
  // Raising needs the bottom to stay within a step of the highest level.
  EXPECT_TRUE(axis.canRaise(17.0));
  EXPECT_FALSE(axis.canRaise(17.5));
  EXPECT_TRUE(axis.canLower(-38.0));
  EXPECT_FALSE(axis.canLower(-38.5));
}

TEST(SeriesRulesTest, FrequencyLabelsEveryPointBelow15ElseEveryCountOver15th) {
  const struct {
    int count, labels, step;
  } cases[] = {{0, 0, 1},   {1, 1, 1},   {14, 14, 1},   {15, 15, 1},  {29, 29, 1},
               {30, 15, 2}, {45, 15, 3}, {241, 16, 16}, {500, 16, 33}};
  for (const auto& c : cases) {
    const QVector<int> indices = SeriesRules::frequencyLabelIndices(c.count);
    ASSERT_EQ(indices.size(), c.labels) << c.count;
    for (int i = 0; i < indices.size(); ++i) EXPECT_EQ(indices[i], i * c.step) << c.count;
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

ThresholdEntry entry(double frequency, uint16_t mask, std::array<uint16_t, 5> limits, int inUse = 1) {
  ThresholdEntry e;
  e.inUse = inUse;
  e.kindMask = mask;
  e.frequency = frequency;
  e.limitSet = limits;
  e.limitLevel = {10.0, 20.0, 30.0, 40.0, 50.0};
  return e;
}

TEST(ThresholdLinesTest, TheKindMaskRoutesEachLevelToOneSeriesOfItsPair) {
  ThresholdTable table{};
  table[0] = entry(5.0, 0x1, {1, 2, 3, 0, 4});
  const ThresholdLines lines = ThresholdLines::build(table, 1, -48.75);
  // Limit flags sharing a bit with the mask go to the first series.
  const bool first[5] = {true, false, true, false, false};
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    const auto& pair = lines.pairs[static_cast<size_t>(k)];
    ASSERT_EQ(pair.x, QVector<double>{5.0});
    const double level = 10.0 * (k + 1) - 48.75;
    EXPECT_EQ(pair.first[0], first[k] ? level : H);
    EXPECT_EQ(pair.second[0], first[k] ? H : level);
  }
}

TEST(ThresholdLinesTest, EntriesCountedSkippedAndHoled) {
  ThresholdTable table{};
  table[0] = entry(5.0, 1, {1, 1, 1, 1, 1});
  table[1] = entry(5.0, 1, {1, 1, 1, 1, 1});      // same frequency: skipped
  table[2] = entry(10.0, 1, {1, 0, 0, 0, 0}, 0);  // not in use but carries a limit: a hole
  table[3] = entry(15.0, 1, {0, 0, 0, 0, 0}, 0);  // not counted, yet within the first n: a hole
  table[4] = entry(20.0, 1, {1, 1, 1, 1, 1});     // counted, but beyond the first n = 4 entries
  const ThresholdLines lines = ThresholdLines::build(table, 5, 0.0);
  const auto& pair = lines.pairs[0];
  EXPECT_EQ(pair.x, (QVector<double>{5.0, 10.0, 15.0}));
  EXPECT_EQ(pair.first, (QVector<double>{10.0, H, H}));
  EXPECT_EQ(pair.second, (QVector<double>{H, H, H}));
}

TEST(ThresholdLinesTest, NoEntriesNoLines) {
  ThresholdTable table{};
  table[0] = entry(5.0, 1, {1, 1, 1, 1, 1});
  for (const auto& pair : ThresholdLines::build(table, 0, 0.0).pairs) EXPECT_TRUE(pair.x.isEmpty());
  for (const auto& pair : ThresholdLines::build(ThresholdTable{}, 250, 0.0).pairs)
    EXPECT_TRUE(pair.x.isEmpty());
}

TEST(ThresholdDisplayTest, PairStateNeedsTheDisplayAndTheThreshold) {
  ThresholdDisplay d;
  EXPECT_EQ(d.pairState(0), 3);
  d.display = true;
  EXPECT_EQ(d.pairState(0), 1);
  EXPECT_FALSE(d.anyHidden());
  d.shown[4] = false;
  EXPECT_EQ(d.pairState(4), 3);
  EXPECT_TRUE(d.anyHidden());
}

}  // namespace
