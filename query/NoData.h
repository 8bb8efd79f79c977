#pragma once

#include "server/Blocks.h"

// A value carries no sample when it is not smaller than NO_DATA. The older
// client's "within 0.0001 of 1e308" is the same test: doubles near 1e308 lie
// about 1e292 apart. NaN counts as missing as well, since it cannot be a
// sample and would poison interpolation and sums.
inline bool isNoData(double v) {
  return !(v < Blocks::NO_DATA);
}
