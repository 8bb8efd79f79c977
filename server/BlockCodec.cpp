#include "server/BlockCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace BlockCodec {
namespace {

using Blocks::kMaxBlocks;
using Blocks::kMaxEntries;

namespace RibbonAt {
constexpr std::size_t hasData = 0, field2 = 2, blockCount = 4, periodStart = 8, periodEnd = 12, field20 = 20,
                      field24 = 24, field26 = 26, field28 = 28, entryCount = 30, values = 32,
                      frequencies = 4032;
}
namespace DayAt {
constexpr std::size_t hasData = 0, blockCount = 4, periodStart = 8, periodEnd = 12, windowStart = 16,
                      windowEnd = 20, field28 = 28, field30 = 30, entryCount = 34, values = 40,
                      frequencies = 4040;
}
namespace FrequencyAt {
constexpr std::size_t hasData = 0, labelTime = 8, entryCount = 40, values = 48, times = 4048;
}
namespace SummaryAt {
constexpr std::size_t hasData = 0, labelTime = 4, entryCount = 22, values = 24, frequencies = 4024;
}
namespace ThresholdAt {
constexpr std::size_t inUse = 0, kindMask = 6, frequency = 16, firstLimit = 40, limitStride = 32,
                      levelAfterFlag = 8;
}

// Bytes are assembled by shifts so the layout does not depend on the host's
// byte order; compilers fold these loops into single loads and stores.
template <std::size_t Width>
void putLE(uint8_t* block, std::size_t at, uint64_t v) {
  std::array<uint8_t, Width> bytes;
  for (std::size_t i = 0; i < Width; ++i) bytes[i] = static_cast<uint8_t>(v >> (8 * i));
  std::memcpy(block + at, bytes.data(), Width);
}

template <std::size_t Width>
uint64_t getLE(const uint8_t* block, std::size_t at) {
  std::array<uint8_t, Width> bytes;
  std::memcpy(bytes.data(), block + at, Width);
  uint64_t v = 0;
  for (std::size_t i = 0; i < Width; ++i) v |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return v;
}

void putU16(uint8_t* p, std::size_t at, uint16_t v) {
  putLE<2>(p, at, v);
}
void putU32(uint8_t* p, std::size_t at, uint32_t v) {
  putLE<4>(p, at, v);
}
void putI32(uint8_t* p, std::size_t at, int32_t v) {
  putU32(p, at, static_cast<uint32_t>(v));
}
void putF64(uint8_t* p, std::size_t at, double v) {
  putLE<8>(p, at, std::bit_cast<uint64_t>(v));
}

uint16_t getU16(const uint8_t* p, std::size_t at) {
  return static_cast<uint16_t>(getLE<2>(p, at));
}
uint32_t getU32(const uint8_t* p, std::size_t at) {
  return static_cast<uint32_t>(getLE<4>(p, at));
}
int32_t getI32(const uint8_t* p, std::size_t at) {
  return static_cast<int32_t>(getU32(p, at));
}
double getF64(const uint8_t* p, std::size_t at) {
  return std::bit_cast<double>(getLE<8>(p, at));
}

void putDoubles(uint8_t* p, std::size_t at, const Blocks::Values& v) {
  for (std::size_t i = 0; i < v.size(); ++i) putF64(p, at + 8 * i, v[i]);
}
void getDoubles(const uint8_t* p, std::size_t at, Blocks::Values& v) {
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = getF64(p, at + 8 * i);
}

// Only the block's own bytes are cleared: a caller may hand in a larger buffer
// that holds other blocks after this one.
uint8_t* clearedBlock(std::span<uint8_t> out, std::size_t size) {
  if (out.size() < size) return nullptr;
  std::memset(out.data(), 0, size);
  return out.data();
}

template <typename Block>
std::vector<uint8_t> encodeToVector(const Block& b, std::size_t size) {
  std::vector<uint8_t> bytes(size);
  encodeInto(b, bytes);
  return bytes;
}

// Counts are checked before anything is written to `out`, so a refused block
// leaves the caller's previous contents intact.
Status checkCounts(const uint8_t* p, std::size_t entryCountAt) {
  return getU16(p, entryCountAt) > kMaxEntries ? Status::TooManyEntries : Status::Ok;
}
Status checkCounts(const uint8_t* p, std::size_t entryCountAt, std::size_t blockCountAt) {
  const Status s = checkCounts(p, entryCountAt);
  if (s != Status::Ok) return s;
  return getU16(p, blockCountAt) > kMaxBlocks ? Status::TooManyBlocks : Status::Ok;
}

}  // namespace

const char* toString(Status s) {
  switch (s) {
    case Status::Ok: return "ok";
    case Status::ShortBuffer: return "buffer shorter than the block";
    case Status::TooManyEntries: return "entry count above 500";
    case Status::TooManyBlocks: return "block count above 97";
  }
  return "unknown status";
}

bool encodeInto(const RibbonBlock& b, std::span<uint8_t> out) {
  uint8_t* p = clearedBlock(out, Blocks::kRibbonBlockSize);
  if (!p) return false;
  putU16(p, RibbonAt::hasData, b.hasData);
  putU16(p, RibbonAt::field2, b.field2);
  putU16(p, RibbonAt::blockCount, b.blockCount);
  putI32(p, RibbonAt::periodStart, b.periodStart);
  putI32(p, RibbonAt::periodEnd, b.periodEnd);
  putI32(p, RibbonAt::field20, b.field20);
  putU16(p, RibbonAt::field24, b.field24);
  putU16(p, RibbonAt::field26, b.field26);
  putU16(p, RibbonAt::field28, b.field28);
  putU16(p, RibbonAt::entryCount, b.entryCount);
  putDoubles(p, RibbonAt::values, b.values);
  putDoubles(p, RibbonAt::frequencies, b.frequencies);
  return true;
}

bool encodeInto(const DayBlock& b, std::span<uint8_t> out) {
  uint8_t* p = clearedBlock(out, Blocks::kDayBlockSize);
  if (!p) return false;
  putU16(p, DayAt::hasData, b.hasData);
  putU16(p, DayAt::blockCount, b.blockCount);
  putI32(p, DayAt::periodStart, b.periodStart);
  putI32(p, DayAt::periodEnd, b.periodEnd);
  putI32(p, DayAt::windowStart, b.windowStart);
  putI32(p, DayAt::windowEnd, b.windowEnd);
  putU16(p, DayAt::field28, b.field28);
  putU16(p, DayAt::field30, b.field30);
  putU16(p, DayAt::entryCount, b.entryCount);
  putDoubles(p, DayAt::values, b.values);
  putDoubles(p, DayAt::frequencies, b.frequencies);
  return true;
}

bool encodeInto(const FrequencySeriesBlock& b, std::span<uint8_t> out) {
  uint8_t* p = clearedBlock(out, Blocks::kFrequencyBlockSize);
  if (!p) return false;
  putU16(p, FrequencyAt::hasData, b.hasData);
  putI32(p, FrequencyAt::labelTime, b.labelTime);
  putU16(p, FrequencyAt::entryCount, b.entryCount);
  putDoubles(p, FrequencyAt::values, b.values);
  for (std::size_t i = 0; i < b.times.size(); ++i) putU32(p, FrequencyAt::times + 4 * i, b.times[i]);
  return true;
}

bool encodeInto(const SummaryBlock& b, std::span<uint8_t> out) {
  uint8_t* p = clearedBlock(out, Blocks::kSummaryBlockSize);
  if (!p) return false;
  putU16(p, SummaryAt::hasData, b.hasData);
  putI32(p, SummaryAt::labelTime, b.labelTime);
  putU16(p, SummaryAt::entryCount, b.entryCount);
  putDoubles(p, SummaryAt::values, b.values);
  putDoubles(p, SummaryAt::frequencies, b.frequencies);
  return true;
}

bool encodeInto(const ThresholdTable& t, std::span<uint8_t> out) {
  uint8_t* table = clearedBlock(out, Blocks::kThresholdTableSize);
  if (!table) return false;
  for (std::size_t e = 0; e < t.size(); ++e) {
    uint8_t* p = table + e * Blocks::kThresholdEntrySize;
    putI32(p, ThresholdAt::inUse, t[e].inUse);
    putU16(p, ThresholdAt::kindMask, t[e].kindMask);
    putF64(p, ThresholdAt::frequency, t[e].frequency);
    for (std::size_t k = 0; k < Blocks::kThresholdLimits; ++k) {
      const std::size_t flagAt = ThresholdAt::firstLimit + k * ThresholdAt::limitStride;
      putU16(p, flagAt, t[e].limitSet[k]);
      putF64(p, flagAt + ThresholdAt::levelAfterFlag, t[e].limitLevel[k]);
    }
  }
  return true;
}

std::vector<uint8_t> encode(const RibbonBlock& b) {
  return encodeToVector(b, Blocks::kRibbonBlockSize);
}
std::vector<uint8_t> encode(const DayBlock& b) {
  return encodeToVector(b, Blocks::kDayBlockSize);
}
std::vector<uint8_t> encode(const FrequencySeriesBlock& b) {
  return encodeToVector(b, Blocks::kFrequencyBlockSize);
}
std::vector<uint8_t> encode(const SummaryBlock& b) {
  return encodeToVector(b, Blocks::kSummaryBlockSize);
}
std::vector<uint8_t> encode(const ThresholdTable& t) {
  return encodeToVector(t, Blocks::kThresholdTableSize);
}

uint16_t hasData(std::span<const uint8_t> in) {
  return in.size() < 2 ? 0 : getU16(in.data(), 0);
}

Status decode(std::span<const uint8_t> in, RibbonBlock& out) {
  if (in.size() < Blocks::kRibbonBlockSize) return Status::ShortBuffer;
  const uint8_t* p = in.data();
  if (Status s = checkCounts(p, RibbonAt::entryCount, RibbonAt::blockCount); s != Status::Ok) return s;
  out.hasData = getU16(p, RibbonAt::hasData);
  out.field2 = getU16(p, RibbonAt::field2);
  out.blockCount = getU16(p, RibbonAt::blockCount);
  out.periodStart = getI32(p, RibbonAt::periodStart);
  out.periodEnd = getI32(p, RibbonAt::periodEnd);
  out.field20 = getI32(p, RibbonAt::field20);
  out.field24 = getU16(p, RibbonAt::field24);
  out.field26 = getU16(p, RibbonAt::field26);
  out.field28 = getU16(p, RibbonAt::field28);
  out.entryCount = getU16(p, RibbonAt::entryCount);
  getDoubles(p, RibbonAt::values, out.values);
  getDoubles(p, RibbonAt::frequencies, out.frequencies);
  return Status::Ok;
}

Status decode(std::span<const uint8_t> in, DayBlock& out) {
  if (in.size() < Blocks::kDayBlockSize) return Status::ShortBuffer;
  const uint8_t* p = in.data();
  if (Status s = checkCounts(p, DayAt::entryCount, DayAt::blockCount); s != Status::Ok) return s;
  out.hasData = getU16(p, DayAt::hasData);
  out.blockCount = getU16(p, DayAt::blockCount);
  out.periodStart = getI32(p, DayAt::periodStart);
  out.periodEnd = getI32(p, DayAt::periodEnd);
  out.windowStart = getI32(p, DayAt::windowStart);
  out.windowEnd = getI32(p, DayAt::windowEnd);
  out.field28 = getU16(p, DayAt::field28);
  out.field30 = getU16(p, DayAt::field30);
  out.entryCount = getU16(p, DayAt::entryCount);
  getDoubles(p, DayAt::values, out.values);
  getDoubles(p, DayAt::frequencies, out.frequencies);
  return Status::Ok;
}

Status decode(std::span<const uint8_t> in, FrequencySeriesBlock& out) {
  if (in.size() < Blocks::kFrequencyBlockSize) return Status::ShortBuffer;
  const uint8_t* p = in.data();
  if (Status s = checkCounts(p, FrequencyAt::entryCount); s != Status::Ok) return s;
  out.hasData = getU16(p, FrequencyAt::hasData);
  out.labelTime = getI32(p, FrequencyAt::labelTime);
  out.entryCount = getU16(p, FrequencyAt::entryCount);
  getDoubles(p, FrequencyAt::values, out.values);
  for (std::size_t i = 0; i < out.times.size(); ++i) out.times[i] = getU32(p, FrequencyAt::times + 4 * i);
  return Status::Ok;
}

Status decode(std::span<const uint8_t> in, SummaryBlock& out) {
  if (in.size() < Blocks::kSummaryBlockSize) return Status::ShortBuffer;
  const uint8_t* p = in.data();
  if (Status s = checkCounts(p, SummaryAt::entryCount); s != Status::Ok) return s;
  out.hasData = getU16(p, SummaryAt::hasData);
  out.labelTime = getI32(p, SummaryAt::labelTime);
  out.entryCount = getU16(p, SummaryAt::entryCount);
  getDoubles(p, SummaryAt::values, out.values);
  getDoubles(p, SummaryAt::frequencies, out.frequencies);
  return Status::Ok;
}

Status decode(std::span<const uint8_t> in, ThresholdTable& out, int count) {
  const std::size_t wanted = static_cast<std::size_t>(std::clamp(count, 0, Blocks::kThresholdEntries));
  const std::size_t whole = std::min(wanted, in.size() / Blocks::kThresholdEntrySize);
  for (std::size_t e = 0; e < whole; ++e) {
    const uint8_t* p = in.data() + e * Blocks::kThresholdEntrySize;
    ThresholdEntry& entry = out[e];
    entry.inUse = getI32(p, ThresholdAt::inUse);
    entry.kindMask = getU16(p, ThresholdAt::kindMask);
    entry.frequency = getF64(p, ThresholdAt::frequency);
    for (std::size_t k = 0; k < Blocks::kThresholdLimits; ++k) {
      const std::size_t flagAt = ThresholdAt::firstLimit + k * ThresholdAt::limitStride;
      entry.limitSet[k] = getU16(p, flagAt);
      entry.limitLevel[k] = getF64(p, flagAt + ThresholdAt::levelAfterFlag);
    }
  }
  return whole < wanted ? Status::ShortBuffer : Status::Ok;
}

}  // namespace BlockCodec
