#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The fixed-size data blocks the monitoring server writes into caller buffers
// (little-endian, IEEE 754 doubles) and the threshold table, as plain values.
// BlockCodec turns them into bytes and back; nothing else touches the layout.
namespace Blocks {

constexpr int kMaxEntries = 500;   // entries of every value and axis array
constexpr int kMaxBlocks = 97;     // blocks of one ribbon or day answer
constexpr double NO_DATA = 1e308;  // a value not smaller than this has no sample

constexpr std::size_t kRibbonBlockSize = 8032;
constexpr std::size_t kDayBlockSize = 8040;
constexpr std::size_t kFrequencyBlockSize = 6048;
constexpr std::size_t kSummaryBlockSize = 8024;
constexpr int kThresholdEntries = 250;
constexpr std::size_t kThresholdEntrySize = 184;
constexpr std::size_t kThresholdTableSize = kThresholdEntries * kThresholdEntrySize;
constexpr int kThresholdLimits = 5;

using Values = std::array<double, kMaxEntries>;

}  // namespace Blocks

// One ribbon of a Time Window Detail or 24 Hour answer: a frequency profile
// of one time step.
struct RibbonBlock {
  uint16_t hasData = 0;          // @0; 0 = nothing in the period
  uint16_t field2 = 0;           // @2, carried along, not interpreted
  uint16_t blockCount = 0;       // @4; blocks in the whole answer
  int32_t periodStart = 0;       // @8; seconds since 1970 UTC
  int32_t periodEnd = 0;         // @12
  int32_t field20 = 0;           // @20, carried along
  uint16_t field24 = 0;          // @24; the monitoring point's version, read from the first block
  uint16_t field26 = 0;          // @26; its version, read from the last block (a range when they differ)
  uint16_t field28 = 0;          // @28, carried along
  uint16_t entryCount = 0;       // @30; valid entries N
  Blocks::Values values{};       // @32
  Blocks::Values frequencies{};  // @4032, MHz
};

// One day of a Multi-Day or Multi-Day Time Window answer.
struct DayBlock {
  uint16_t hasData = 0;          // @0
  uint16_t blockCount = 0;       // @4
  int32_t periodStart = 0;       // @8
  int32_t periodEnd = 0;         // @12
  int32_t windowStart = 0;       // @16; seconds into the day, for the labels
  int32_t windowEnd = 0;         // @20
  uint16_t field28 = 0;          // @28; the monitoring point's version, read from the first block
  uint16_t field30 = 0;          // @30; its version, read from the last block (a range when they differ)
  uint16_t entryCount = 0;       // @34
  Blocks::Values values{};       // @40
  Blocks::Values frequencies{};  // @4040, MHz
};

// A time series at one frequency (One Frequency Time Window).
struct FrequencySeriesBlock {
  uint16_t hasData = 0;                               // @0
  int32_t labelTime = 0;                              // @8; seconds since 1970 UTC
  uint16_t entryCount = 0;                            // @40
  Blocks::Values values{};                            // @48
  std::array<uint32_t, Blocks::kMaxEntries> times{};  // @4048, seconds since 1970 UTC
};

// A frequency profile over the whole window (Time Window Summary).
struct SummaryBlock {
  uint16_t hasData = 0;          // @0
  int32_t labelTime = 0;         // @4
  uint16_t entryCount = 0;       // @22
  Blocks::Values values{};       // @24
  Blocks::Values frequencies{};  // @4024, MHz
};

// One entry of a port's threshold table (184 bytes).
struct ThresholdEntry {
  int32_t inUse = 0;       // @0; 1 = entry used
  uint16_t kindMask = 0;   // @6; which limits of the entry are of the first kind
  double frequency = 0.0;  // @16, MHz
  // Limit flags at 40, 72, 104, 136, 168 (non-zero = limit set), each followed
  // by its level as a double (dBmV) at 48, 80, 112, 144, 176.
  std::array<uint16_t, Blocks::kThresholdLimits> limitSet{};
  std::array<double, Blocks::kThresholdLimits> limitLevel{};
};

using ThresholdTable = std::array<ThresholdEntry, Blocks::kThresholdEntries>;
