#pragma once

#include "core/LevelUnit.h"
#include "server/Blocks.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the stand-in server stores, as plain values.

constexpr int kThresholdCount = 4;

// A monitored port. Thresholds 1 and 2 are upper limits (a sample above the
// level is beyond it), 3 and 4 lower limits (beyond = below).
struct PortRecord {
  int32_t node = 0;
  std::string label;
  LevelUnit levelUnit;              // what GetThresholdTable answers as its code
  std::vector<double> frequencies;  // the plan, MHz, ascending, at most 500
  std::array<std::string, kThresholdCount> thresholdNames;
  std::array<double, kThresholdCount> thresholdLevels{};  // dBmV
  ThresholdTable thresholdTable{};
  // The monitoring point's software version, which every ribbon and day
  // block names as the source of its data.
  uint16_t monitorVersion = 0;
};

struct TokenRecord {
  int32_t token = 0;
  std::string user;
  int32_t permissions = 0;
  int64_t expires = 0;  // seconds since 1970 UTC; the token is dead from then on
};

// Scans of one port, ascending in time, one row of levels (dBmV) per scan
// and one column per plan frequency. NaN marks a sample that was not taken.
struct ScanSet {
  std::size_t width = 0;
  std::vector<int32_t> times;
  std::vector<float> levels;  // times.size() * width

  std::size_t size() const { return times.size(); }
  std::span<const float> row(std::size_t i) const { return {levels.data() + i * width, width}; }
};

inline bool isMissing(float level) {
  return std::isnan(level);
}
