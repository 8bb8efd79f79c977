#include <gtest/gtest.h>

#include <string>

#include "core/IdentityScrambler.h"

namespace {

using namespace std::string_literals;

TEST(IdentityScramblerTest, KnownValues) {
  // Worked by hand: reverse, then take i mod 7 from position i.
  const std::pair<std::string, std::string> cases[] = {
      // stored, plain
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

TEST(IdentityScramblerTest, RoundTripsEveryByteAtEveryOffset) {
  for (int lead = 0; lead < 7; ++lead) {
    std::string text(static_cast<std::size_t>(lead), 'x');
    for (int b = 0; b < 256; ++b) text.push_back(static_cast<char>(b));
    EXPECT_EQ(UnscrambleIdentity(ScrambleIdentity(text)), text) << lead;
    EXPECT_EQ(ScrambleIdentity(UnscrambleIdentity(text)), text) << lead;
  }
}

}  // namespace
