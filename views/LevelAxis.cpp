#include "views/LevelAxis.h"

#include "query/NoData.h"

void LevelAxis::track(double level) {
  if (!isNoData(level) && level > highest) highest = level;
  if (level < lowest) lowest = level;
}

double LevelAxis::autoReference(double highest, int scale) {
  if (scale <= 0) scale = 1;
  const int t = highest <= 0.0 ? static_cast<int>(highest) : static_cast<int>(highest + scale);
  return static_cast<double>((t / scale) * scale);
}

double LevelAxis::clamp(double reference, int scale) {
  if (reference > kLimit) return kLimit;
  const double floor = kDivisions * scale - kLimit;
  if (reference < floor) return floor;
  return reference;
}
