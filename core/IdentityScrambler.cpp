#include "core/IdentityScrambler.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kCycle = 7;

// Shifts every byte by its position mod 7 in the given direction; unsigned
// arithmetic, so the shift wraps within the byte whatever char's signedness.
std::string Shift(std::string text, int direction) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto offset = static_cast<unsigned>(i % kCycle);
    text[i] = static_cast<char>(static_cast<unsigned char>(direction > 0 ? byte + offset : byte - offset));
  }
  return text;
}

}  // namespace

std::string UnscrambleIdentity(const std::string& stored) {
  std::string reversed(stored.rbegin(), stored.rend());
  return Shift(std::move(reversed), -1);
}

std::string ScrambleIdentity(const std::string& plain) {
  std::string shifted = Shift(plain, +1);
  std::reverse(shifted.begin(), shifted.end());
  return shifted;
}
