#pragma once

#include <span>

struct DayBlock;
struct RibbonBlock;

// Fills the holes of a frequency profile before anyone reads it, so a single
// missed sample does not tear a hole into the 3D surface: interior holes are
// bridged linearly over frequency, while holes at either edge stay NO_DATA
// because there is nothing on their far side to bridge to.
class GapFiller {
public:
  // `values` and `frequencies` are the block's N valid entries (the shorter
  // length wins). Leading and trailing holes become exactly NO_DATA.
  static void fill(std::span<double> values, std::span<const double> frequencies);
  // Entries 0..N-1 of a decoded block.
  static void fill(RibbonBlock& block);
  static void fill(DayBlock& block);
};
