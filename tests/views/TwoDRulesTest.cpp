#include "views/LevelAxis.h"
#include "views/SeriesRules.h"
#include "views/ThresholdDisplay.h"
#include "views/ThresholdLines.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double H = Blocks::NO_DATA;

struct AutoCase {
  double highest;
  int scale;
  double expected;
};

class AutoReferenceTest : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoReferenceTest, OneDivisionAboveOnAMultipleOfTheScale) {
  const AutoCase c = GetParam();
  EXPECT_EQ(LevelAxis::autoReference(c.highest, c.scale), c.expected) << c.highest << " scale " << c.scale;
}

INSTANTIATE_TEST_SUITE_P(Table, AutoReferenceTest,
                         ::testing::Values(AutoCase{37.2, 10, 40.0}, AutoCase{40.0, 10, 50.0},
                                           AutoCase{-12.5, 10, -10.0}, AutoCase{-20.0, 10, -20.0},
                                           AutoCase{0.0, 10, 0.0}, AutoCase{0.5, 10, 10.0},
                                           AutoCase{37.2, 5, 40.0}, AutoCase{37.2, 2, 38.0},
                                           AutoCase{-38.75, 10, -30.0}, AutoCase{-200.0, 10, -200.0}));

struct ClampCase {
  double reference;
  int scale;
  double expected;
};

class AxisClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(AxisClampTest, EightDivisionsStayWithin220) {
  const ClampCase c = GetParam();
  EXPECT_EQ(LevelAxis::clamp(c.reference, c.scale), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AxisClampTest,
                         ::testing::Values(ClampCase{250.0, 10, 220.0}, ClampCase{220.0, 10, 220.0},
                                           ClampCase{-10.0, 30, 20.0}, ClampCase{-140.0, 10, -140.0},
                                           ClampCase{-150.0, 10, -140.0}, ClampCase{40.0, 10, 40.0},
                                           ClampCase{-200.0, 2, -200.0}, ClampCase{-210.0, 2, -204.0}));

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

struct LabelStepCase {
  int count;
  int labels;
  int step;
};

class FrequencyLabelTest : public ::testing::TestWithParam<LabelStepCase> {};

TEST_P(FrequencyLabelTest, EveryPointBelow15ElseEveryCountOver15th) {
  const LabelStepCase c = GetParam();
  const QVector<int> indices = SeriesRules::frequencyLabelIndices(c.count);
  ASSERT_EQ(indices.size(), c.labels) << c.count;
  for (int i = 0; i < indices.size(); ++i) EXPECT_EQ(indices[i], i * c.step);
}

INSTANTIATE_TEST_SUITE_P(Table, FrequencyLabelTest,
                         ::testing::Values(LabelStepCase{0, 0, 1}, LabelStepCase{1, 1, 1}, LabelStepCase{14, 14, 1},
                                           LabelStepCase{15, 15, 1}, LabelStepCase{29, 29, 1},
                                           LabelStepCase{30, 15, 2}, LabelStepCase{45, 15, 3},
                                           LabelStepCase{241, 16, 16}, LabelStepCase{500, 16, 33}));

struct TimeLabelCase {
  const char* name;
  QVector<uint32_t> times;
  QVector<bool> labelled;
};

class TimeLabelTest : public ::testing::TestWithParam<TimeLabelCase> {};

TEST_P(TimeLabelTest, LabelsKeepTheirGap) {
  EXPECT_EQ(SeriesRules::timeLabelled(GetParam().times), GetParam().labelled);
}

// Over a window of 1000 s the gap is 12 s.
INSTANTIATE_TEST_SUITE_P(
    Table, TimeLabelTest,
    ::testing::Values(TimeLabelCase{"empty", {}, {}}, TimeLabelCase{"single", {50}, {true}},
                      TimeLabelCase{"wideApart", {0, 500, 1000}, {true, true, true}},
                      TimeLabelCase{"exactlyTheGapIsNotEnough", {0, 12, 25, 1000}, {true, false, true, true}},
                      TimeLabelCase{"nearTheEndStaysBlankButTheLastIsLabelled",
                                    {0, 500, 990, 1000},
                                    {true, true, false, true}},
                      TimeLabelCase{"firstAndLastEvenWhenClose", {0, 1, 999, 1000}, {true, false, false, true}}),
    [](const auto& p) { return std::string(p.param.name); });

struct IsolatedCase {
  const char* name;
  QVector<double> raw;
  QVector<double> isolated;
};

class IsolatedPointTest : public ::testing::TestWithParam<IsolatedCase> {};

TEST_P(IsolatedPointTest, OnlyPointsWithoutNeighboursStandAlone) {
  const IsolatedCase& c = GetParam();
  EXPECT_EQ(SeriesRules::isolatedPoints(c.raw, c.raw), c.isolated);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsolatedPointTest,
    ::testing::Values(IsolatedCase{"betweenHoles", {H, 4.0, H}, {H, 4.0, H}},
                      IsolatedCase{"aloneInTheSeries", {7.0}, {7.0}},
                      IsolatedCase{"atTheStart", {1.0, H, 2.0, 3.0}, {1.0, H, H, H}},
                      IsolatedCase{"atTheEnd", {1.0, 2.0, H, 3.0}, {H, H, H, 3.0}},
                      IsolatedCase{"aLineHasNone", {1.0, 2.0, 3.0}, {H, H, H}},
                      IsolatedCase{"allHoles", {H, H}, {H, H}},
                      IsolatedCase{"infinityIsAHole", {std::numeric_limits<double>::infinity(), 5.0, H}, {H, 5.0, H}}),
    [](const auto& p) { return std::string(p.param.name); });

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
  for (const auto& pair : ThresholdLines::build(ThresholdTable{}, 250, 0.0).pairs) EXPECT_TRUE(pair.x.isEmpty());
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
