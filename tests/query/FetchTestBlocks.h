#pragma once

#include "server/BlockCodec.h"

#include <vector>

// Block bytes for the fakes' scripts, built through the codec so the layout
// is the one the server writes.
struct BlockSpec {
  uint16_t hasData = 1;
  uint16_t blockCount = 1;
  int32_t periodStart = 0;
  int32_t periodEnd = 0;
  int32_t windowStart = 0;
  int32_t windowEnd = 0;
  std::vector<double> values;
  std::vector<double> axis;  // frequencies in MHz
  int entryCount = -1;       // -1: the number of values
};

template <class Block>
Block blockOf(const BlockSpec& s) {
  Block b{};
  b.hasData = s.hasData;
  b.blockCount = s.blockCount;
  b.periodStart = s.periodStart;
  b.periodEnd = s.periodEnd;
  if constexpr (requires { b.windowStart; }) {
    b.windowStart = s.windowStart;
    b.windowEnd = s.windowEnd;
  }
  b.entryCount = static_cast<uint16_t>(s.entryCount >= 0 ? s.entryCount : static_cast<int>(s.values.size()));
  for (std::size_t i = 0; i < s.values.size() && i < b.values.size(); ++i) b.values[i] = s.values[i];
  for (std::size_t i = 0; i < s.axis.size() && i < b.frequencies.size(); ++i) b.frequencies[i] = s.axis[i];
  return b;
}

inline std::vector<uint8_t> bytesOf(bool day, const BlockSpec& s) {
  return day ? BlockCodec::encode(blockOf<DayBlock>(s)) : BlockCodec::encode(blockOf<RibbonBlock>(s));
}
