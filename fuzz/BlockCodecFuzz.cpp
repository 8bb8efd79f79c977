// Every block decoder over arbitrary bytes of any length. The first byte
// picks the block kind (and, for the threshold table, the second and third
// the entry count); the rest is the buffer. Checked: a decoder reads nothing
// past the block (the same answer from the exact block and from the block
// with trailing bytes), refuses short buffers and impossible counts, leaves
// its output alone when it refuses, and what it accepts encodes back to a
// block that decodes to the same value.
#include "fuzz/FuzzCheck.h"
#include "server/BlockCodec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace {

using BlockCodec::Status;

template <typename T>
bool sameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// A value with every byte set, so that a write by a refusing decoder shows.
template <typename T>
std::unique_ptr<T> marked() {
  auto v = std::make_unique<T>();
  std::memset(static_cast<void*>(v.get()), 0xA5, sizeof(T));
  return v;
}

// The buffer copied to the heap at exactly its length, so that any read past
// it is an AddressSanitizer report.
std::vector<uint8_t> exactCopy(std::span<const uint8_t> in) {
  return {in.begin(), in.end()};
}

template <typename Block>
void checkBlock(std::span<const uint8_t> in, std::size_t blockSize, bool hasBlockCount) {
  const std::vector<uint8_t> whole = exactCopy(in);
  auto out = marked<Block>();
  const auto untouched = marked<Block>();
  const Status s = BlockCodec::decode(std::span<const uint8_t>(whole), *out);

  FUZZ_CHECK((s == Status::ShortBuffer) == (whole.size() < blockSize));
  if (s != Status::Ok) {
    FUZZ_CHECK(sameBytes(*out, *untouched));
    if (s == Status::TooManyBlocks) FUZZ_CHECK(hasBlockCount);
    return;
  }
  FUZZ_CHECK(out->entryCount <= Blocks::kMaxEntries);
  if constexpr (requires { out->blockCount; }) FUZZ_CHECK(out->blockCount <= Blocks::kMaxBlocks);

  // Bytes past the block change nothing.
  const std::vector<uint8_t> exact = exactCopy(in.first(blockSize));
  auto fromExact = marked<Block>();
  FUZZ_CHECK(BlockCodec::decode(std::span<const uint8_t>(exact), *fromExact) == Status::Ok);
  // Compared field by field through the encoder: padding bytes of the struct
  // are not part of the value.
  FUZZ_CHECK(BlockCodec::encode(*fromExact) == BlockCodec::encode(*out));

  const std::vector<uint8_t> encoded = BlockCodec::encode(*out);
  FUZZ_CHECK(encoded.size() == blockSize);
  auto back = marked<Block>();
  FUZZ_CHECK(BlockCodec::decode(std::span<const uint8_t>(encoded), *back) == Status::Ok);
  FUZZ_CHECK(BlockCodec::encode(*back) == encoded);
}

void checkThresholds(int count, std::span<const uint8_t> in) {
  const std::vector<uint8_t> buffer = exactCopy(in);
  auto table = marked<ThresholdTable>();
  const auto untouched = marked<ThresholdTable>();
  const Status s = BlockCodec::decode(std::span<const uint8_t>(buffer), *table, count);

  const int wanted = std::clamp(count, 0, Blocks::kThresholdEntries);
  const std::size_t whole = buffer.size() / Blocks::kThresholdEntrySize;
  FUZZ_CHECK((s == Status::Ok) == (whole >= std::size_t(wanted)));
  FUZZ_CHECK(s == Status::Ok || s == Status::ShortBuffer);
  const std::size_t read = std::min<std::size_t>(wanted, whole);
  // Entries past those read keep what they held.
  for (std::size_t e = read; e < table->size(); ++e) FUZZ_CHECK(sameBytes((*table)[e], (*untouched)[e]));

  // What was read is what an encoder writes at the same place.
  ThresholdTable copy{};
  for (std::size_t e = 0; e < read; ++e) copy[e] = (*table)[e];
  const std::vector<uint8_t> encoded = BlockCodec::encode(copy);
  FUZZ_CHECK(encoded.size() == Blocks::kThresholdTableSize);
  auto back = marked<ThresholdTable>();
  FUZZ_CHECK(BlockCodec::decode(std::span<const uint8_t>(encoded), *back, int(read)) == Status::Ok);
  for (std::size_t e = 0; e < read; ++e) {
    const ThresholdEntry& a = (*back)[e];
    const ThresholdEntry& b = (*table)[e];
    FUZZ_CHECK(a.inUse == b.inUse && std::memcmp(&a.frequency, &b.frequency, sizeof(double)) == 0 &&
               a.limitSet == b.limitSet &&
               std::memcmp(a.limitLevel.data(), b.limitLevel.data(), sizeof(b.limitLevel)) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 5) {
    case 0: checkBlock<RibbonBlock>(rest, Blocks::kRibbonBlockSize, true); break;
    case 1: checkBlock<DayBlock>(rest, Blocks::kDayBlockSize, true); break;
    case 2: checkBlock<FrequencySeriesBlock>(rest, Blocks::kFrequencyBlockSize, false); break;
    case 3: checkBlock<SummaryBlock>(rest, Blocks::kSummaryBlockSize, false); break;
    case 4: {
      if (rest.size() < 2) return 0;
      // A signed count, so that negative and oversized counts are tried too.
      const int count = int16_t(uint16_t(rest[0] | rest[1] << 8));
      checkThresholds(count, rest.subspan(2));
      break;
    }
  }
  return 0;
}
