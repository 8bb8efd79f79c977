#pragma once

#include "server/Blocks.h"

#include <cstdint>
#include <span>
#include <vector>

// The one codec of the server's blocks: explicit little-endian reads and writes
// at fixed offsets. A decoder never reads outside the buffer it is given and
// refuses a block whose counts cannot be right instead of trusting them.
namespace BlockCodec {

enum class Status {
  Ok,
  ShortBuffer,     // fewer bytes than the block's size
  TooManyEntries,  // entry count above 500
  TooManyBlocks,   // block count above 97 (ribbon and day blocks)
};

const char* toString(Status s);

std::vector<uint8_t> encode(const RibbonBlock& b);
std::vector<uint8_t> encode(const DayBlock& b);
std::vector<uint8_t> encode(const FrequencySeriesBlock& b);
std::vector<uint8_t> encode(const SummaryBlock& b);
std::vector<uint8_t> encode(const ThresholdTable& t);

// Write into a caller buffer of at least the block's size; false if too small.
bool encodeInto(const RibbonBlock& b, std::span<uint8_t> out);
bool encodeInto(const DayBlock& b, std::span<uint8_t> out);
bool encodeInto(const FrequencySeriesBlock& b, std::span<uint8_t> out);
bool encodeInto(const SummaryBlock& b, std::span<uint8_t> out);
bool encodeInto(const ThresholdTable& t, std::span<uint8_t> out);

// The has-data field (byte 0 of every data block), read without trusting
// the rest: 0 for a buffer too short to hold it.
uint16_t hasData(std::span<const uint8_t> in);

// A block is checked whole before `out` is touched: on any status but Ok,
// `out` keeps what it held. Bytes past the block's size are not read. Array
// entries from N on are decoded too, so a block round-trips exactly.
[[nodiscard]] Status decode(std::span<const uint8_t> in, RibbonBlock& out);
[[nodiscard]] Status decode(std::span<const uint8_t> in, DayBlock& out);
[[nodiscard]] Status decode(std::span<const uint8_t> in, FrequencySeriesBlock& out);
[[nodiscard]] Status decode(std::span<const uint8_t> in, SummaryBlock& out);
// Reads min(count, 250) entries of a table buffer (a negative count reads
// none); entries past the buffer's end are left as they are and the answer is
// then ShortBuffer. Entries from the count on are not touched.
[[nodiscard]] Status decode(std::span<const uint8_t> in, ThresholdTable& out,
                            int count = Blocks::kThresholdEntries);

}  // namespace BlockCodec
