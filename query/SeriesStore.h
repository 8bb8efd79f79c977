#pragma once

#include "query/GraphType.h"
#include "server/Blocks.h"

#include <QString>
#include <array>
#include <cstdint>

// The series of a Time Window Summary (frequency profiles) or One Frequency
// Time Window (time series) answer: one slot per ticked statistic, in the
// order fetched, statistic index ascending.
struct SeriesStore {
  struct Series {
    int32_t entryCount = 0;  // N
    int32_t statistic = 0;   // which statistic this slot holds
    int32_t hasData = 0;     // the block's has-data field
    std::array<uint32_t, Blocks::kMaxEntries + 1> times{};  // One Frequency: seconds since 1970 UTC
    Blocks::Values values{};                               // NO_DATA where no sample
    Blocks::Values frequencies{};                          // Time Window Summary: MHz
  };

  int count = 0;  // filled slots, 0 to 7
  // Local time texts: the time the server states for the answer and the time
  // of the first point.
  QString labelTimeText;
  QString firstPointText;
  // Not "slots": Qt defines that word as a macro.
  std::array<Series, Statistic::kCount> series{};

  void clear() {
    count = 0;
    labelTimeText.clear();
    firstPointText.clear();
    for (Series& s : series) s.hasData = 0;
  }
};
