#include "core/ColorRef.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ColorRef, RedIsTheLowByteBothWays) {
  const std::pair<std::uint32_t, QColor> cases[] = {
      {0x000000FFu, QColor(255, 0, 0)},   {0x0000FF00u, QColor(0, 255, 0)},
      {0x00FF0000u, QColor(0, 0, 255)},   {0x0000A5FFu, QColor(255, 165, 0)},
      {0x00D8D800u, QColor(0, 216, 216)}, {0x00000000u, QColor(0, 0, 0)}};
  for (const auto& [ref, color] : cases) {
    EXPECT_EQ(colorFromRef(ref), color) << std::hex << ref;
    EXPECT_EQ(refFromColor(color), ref) << std::hex << ref;
  }
  // The top byte and alpha are ignored.
  EXPECT_EQ(colorFromRef(0xFF0000FFu), QColor(255, 0, 0));
  EXPECT_EQ(refFromColor(QColor(255, 0, 0, 10)), 0x000000FFu);
}

}  // namespace
