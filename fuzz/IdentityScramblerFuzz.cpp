// The stored identity's scrambling is a bijection on byte strings of each
// length: unscramble undoes scramble and scramble undoes unscramble.
#include "core/IdentityScrambler.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string stored = ScrambleIdentity(text);
  FUZZ_CHECK(stored.size() == text.size());
  FUZZ_CHECK(UnscrambleIdentity(stored) == text);
  const std::string plain = UnscrambleIdentity(text);
  FUZZ_CHECK(plain.size() == text.size());
  FUZZ_CHECK(ScrambleIdentity(plain) == text);
  // The last stored character comes first, unchanged (position 0 moves by 0).
  if (size > 0) FUZZ_CHECK(plain.front() == text.back());
  return 0;
}
