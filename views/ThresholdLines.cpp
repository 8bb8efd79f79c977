#include "views/ThresholdLines.h"

#include <algorithm>

ThresholdLines ThresholdLines::build(const ThresholdTable& table, int entries, double levelOffset) {
  ThresholdLines lines;
  entries = std::clamp(entries, 0, Blocks::kThresholdEntries);
  // Entries in use, or carrying any limit, count; the rest of the table is
  // unused space.
  int n = 0;
  for (int e = 0; e < entries; ++e) {
    const ThresholdEntry& entry = table[static_cast<size_t>(e)];
    const bool anyLimit = std::any_of(entry.limitSet.begin(), entry.limitSet.end(), [](uint16_t f) { return f != 0; });
    if (entry.inUse == 1 || anyLimit) ++n;
  }
  QVector<double> taken;
  for (int e = 0; e < n; ++e) {
    const ThresholdEntry& entry = table[static_cast<size_t>(e)];
    if (taken.contains(entry.frequency)) continue;
    taken.push_back(entry.frequency);
    for (int k = 0; k < kThresholds; ++k) {
      Pair& pair = lines.pairs[static_cast<size_t>(k)];
      pair.x.push_back(entry.frequency);
      if (entry.inUse == 0) {
        pair.first.push_back(Blocks::NO_DATA);
        pair.second.push_back(Blocks::NO_DATA);
        continue;
      }
      const double level = entry.limitLevel[static_cast<size_t>(k)] + levelOffset;
      const bool firstSeries = (entry.kindMask & entry.limitSet[static_cast<size_t>(k)]) != 0;
      pair.first.push_back(firstSeries ? level : Blocks::NO_DATA);
      pair.second.push_back(firstSeries ? Blocks::NO_DATA : level);
    }
  }
  return lines;
}
