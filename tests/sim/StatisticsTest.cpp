#include "sim/Statistics.h"

#include "SimTestUtil.h"

using namespace simtest;
using Statistics::Levels;

namespace {

constexpr double NO = Blocks::NO_DATA;

// Per statistic, the hand-computed value of each column of the tiny scans,
// from the whole profile and from one column alone.
TEST(Statistics, ProfileAndSingleColumnAgreeWithHandValues) {
  const ScanSet scans = tinyScanSet();
  const Levels levels = tinyPort().thresholdLevels;
  const std::pair<int, std::array<double, 3>> cases[] = {
      {Statistics::kAverage, {-6.0, -16.0, NO}},       {Statistics::kMaximum, {-2.0, 5.0, NO}},
      {Statistics::kMinimum, {-10.0, -35.0, NO}},      {Statistics::kBeyond1, {0.0, 20.0, NO}},
      {Statistics::kBeyond2, {100.0 / 3.0, 40.0, NO}}, {Statistics::kBeyond3, {0.0, 60.0, NO}},
      {Statistics::kBeyond4, {0.0, 20.0, NO}}};
  for (const auto& [statistic, expected] : cases) {
    std::array<double, 3> out{};
    Statistics::profile(scans, 0, scans.size(), statistic, levels, out);
    for (size_t col = 0; col < 3; ++col) {
      SCOPED_TRACE(::testing::Message() << "statistic " << statistic << ", column " << col);
      EXPECT_DOUBLE_EQ(out[col], expected[col]);
      EXPECT_DOUBLE_EQ(Statistics::value(scans, 0, scans.size(), col, statistic, levels), expected[col]);
    }
  }
}

TEST(Statistics, ALevelOnTheLimitIsNotBeyondIt) {
  const Levels levels{0.0, -5.0, -20.0, -30.0};
  const ScanSet onTheLimits{4, {kT0}, {0.0f, -5.0f, -20.0f, -30.0f}};  // column k - 1 exactly on limit k
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(Statistics::value(onTheLimits, 0, 1, k - 1, Statistics::kBeyond1 + k - 1, levels), 0.0) << k;
}

}  // namespace
