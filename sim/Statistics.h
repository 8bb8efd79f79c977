#pragma once

#include "sim/SimRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The statistics a request asks for, over the scans of one period. Levels
// are dBmV; the average is the plain mean of the dB values. Missing samples
// (NaN) are left out; a frequency with no sample answers Blocks::NO_DATA.
namespace Statistics {

enum Statistic : int {
  kAverage = 0,
  kMaximum = 1,
  kMinimum = 2,
  kBeyond1 = 3,  // % of samples above threshold 1
  kBeyond2 = 4,  // % above threshold 2
  kBeyond3 = 5,  // % below threshold 3
  kBeyond4 = 6,  // % below threshold 4
};

using Levels = std::array<double, kThresholdCount>;

constexpr bool isValid(int statistic) {
  return statistic >= kAverage && statistic <= kBeyond4;
}

// One period's statistic over `width` frequency columns, fed a scan at a
// time, so an answer never needs all its scans in memory at once.
class Accumulator {
public:
  Accumulator(int statistic, const Levels& levels, std::size_t width);

  // A scan's levels, one per column (extra levels are ignored).
  void add(std::span<const float> row);
  bool hasScans() const { return m_scans > 0; }
  // Writes min(width, out.size()) values.
  void values(std::span<double> out) const;
  double value(std::size_t column) const;

private:
  int m_statistic;
  double m_limit = 0.0;  // the threshold of a percentage statistic
  bool m_above = true;   // its direction
  std::vector<double> m_acc;
  std::vector<uint32_t> m_present;
  uint32_t m_scans = 0;
};

// The statistic of column `column` over scan rows [first, last).
double value(const ScanSet& scans, std::size_t first, std::size_t last, std::size_t column, int statistic,
             const Levels& levels);

// The statistic of every column over scan rows [first, last), written to
// out[0 .. min(scans.width, out.size())).
void profile(const ScanSet& scans, std::size_t first, std::size_t last, int statistic, const Levels& levels,
             std::span<double> out);

}  // namespace Statistics
