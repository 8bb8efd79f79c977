#include "query/GapFiller.h"

#include "server/Blocks.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr double N = Blocks::NO_DATA;
constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(GapFiller, FillsInteriorHolesAlongTheFrequencies) {
  const struct {
    const char* name;
    std::vector<double> values, frequencies, expected;
  } cases[] = {
      {"EdgesStayInteriorBridged", {N, N, 5, N, 9, N}, {10, 11, 12, 13, 14, 15}, {N, N, 5, 7, 9, N}},
      {"UnevenSpacingFollowsFrequency", {0, N, N, 14}, {1, 2, 4, 8}, {0, 2, 6, 14}},
      {"SeveralRuns", {1, N, 3, N, N, 6}, {0, 1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}},
      {"AllMissing", {N, N, N}, {1, 2, 3}, {N, N, N}},
      // No slope to follow: the hole takes the left value, no division by zero.
      {"RepeatedFrequency", {1, N, 3}, {5, 5, 5}, {1, 1, 3}},
      // Anything not below NO_DATA is a hole and becomes NO_DATA exactly.
      {"AboveNoDataAndInfinity", {kInf, 2, 1.5e308, 4, kInf}, {1, 2, 3, 4, 5}, {N, 2, 3, 4, N}},
      {"NaNIsAHole", {kNaN, 2, kNaN, 4}, {1, 2, 3, 4}, {N, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    std::vector<double> v = c.values;
    GapFiller::fill(v, c.frequencies);
    ASSERT_EQ(v.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < v.size(); ++i)
      EXPECT_DOUBLE_EQ(v[i], c.expected[i]) << c.name << ", entry " << i;
  }
}

TEST(GapFiller, BlockFillTouchesOnlyItsValidEntries) {
  RibbonBlock b{};
  b.entryCount = 3;
  b.values.fill(N);
  b.values[0] = 1;
  b.values[2] = 3;
  b.values[4] = 8;  // past N: a hole there must not be bridged to it
  for (int i = 0; i < Blocks::kMaxEntries; ++i) b.frequencies[i] = i;

  GapFiller::fill(b);

  EXPECT_EQ(b.values[1], 2.0);
  EXPECT_EQ(b.values[3], N);
}

}  // namespace
