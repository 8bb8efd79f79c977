#include "core/ColorRef.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorRef, RedIsTheLowByteBothWays) {
  const struct {
    std::uint32_t ref;
    QColor color;
  } cases[] = {{0x000000FFu, QColor(255, 0, 0)},   {0x0000FF00u, QColor(0, 255, 0)},
               {0x00FF0000u, QColor(0, 0, 255)},   {0x0000A5FFu, QColor(255, 165, 0)},
               {0x00D8D800u, QColor(0, 216, 216)}, {0x00000000u, QColor(0, 0, 0)}};
  for (const auto& c : cases) {
    EXPECT_EQ(colorFromRef(c.ref), c.color) << std::hex << c.ref;
    EXPECT_EQ(refFromColor(c.color), c.ref) << std::hex << c.ref;
  }
  // The top byte and alpha are ignored.
  EXPECT_EQ(colorFromRef(0xFF0000FFu), QColor(255, 0, 0));
  EXPECT_EQ(refFromColor(QColor(255, 0, 0, 10)), 0x000000FFu);
}

}  // namespace
