#include "core/ColorRef.h"

#include <gtest/gtest.h>

namespace {

struct ColorCase {
  std::uint32_t ref;
  int r, g, b;
};

class ColorRefTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorRefTest, RedIsTheLowByteBothWays) {
  const ColorCase c = GetParam();
  EXPECT_EQ(colorFromRef(c.ref), QColor(c.r, c.g, c.b));
  EXPECT_EQ(refFromColor(QColor(c.r, c.g, c.b)), c.ref);
}

INSTANTIATE_TEST_SUITE_P(Values, ColorRefTest,
                         ::testing::Values(ColorCase{0x000000FFu, 255, 0, 0}, ColorCase{0x0000FF00u, 0, 255, 0},
                                           ColorCase{0x00FF0000u, 0, 0, 255}, ColorCase{0x0000A5FFu, 255, 165, 0},
                                           ColorCase{0x00D8D800u, 0, 216, 216}, ColorCase{0x00000000u, 0, 0, 0}));

TEST(ColorRef, IgnoresTheTopByteAndAlpha) {
  EXPECT_EQ(colorFromRef(0xFF0000FFu), QColor(255, 0, 0));
  EXPECT_EQ(refFromColor(QColor(255, 0, 0, 10)), 0x000000FFu);
}

}  // namespace
