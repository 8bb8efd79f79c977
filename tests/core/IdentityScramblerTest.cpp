#include <gtest/gtest.h>

#include <string>

#include "core/IdentityScrambler.h"

namespace {

using namespace std::string_literals;

TEST(IdentityScramblerTest, KnownValues) {
  // Worked by hand: reverse, then take i mod 7 from position i.
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"a", "a"},
      {"eca", "abc"},
      {"rloeA", "Admin"},
      // Eight characters and more: the offset starts again at 0 after 6.
      {"2dxt{vubp", "password1"},
      // The offsets wrap within the byte both ways.
      {"\x00\xff"s, "\xff\xff"s},
      {"\x05\x01\x00"s, "\x00\x00\x03"s},
  };
  for (const auto& [stored, plain] : cases) {
    EXPECT_EQ(UnscrambleIdentity(stored), plain) << plain;
    EXPECT_EQ(ScrambleIdentity(plain), stored) << plain;
  }
}

}  // namespace
