#pragma once

#include "core/CNBDateTime.h"
#include "query/GraphType.h"

#include <array>
#include <cstdint>
#include <optional>

class RegistryKey;

// One report request, copied by value wherever it goes. Each report type keeps
// its own window so that switching types in the dialog brings that type's own
// dates back; types 0, 1 and 2 share one pair.
struct GraphQuery {
  int32_t graphType = TimeWindowSummary;
  CNBDateTime end;                    // types 0, 1, 2
  CNBDateTime endMultiDay;            // type 4
  CNBDateTime endMultiDayTimeWindow;  // type 5
  CNBDateTime end24Hour;              // type 3
  CNBDateTime start;                  // types 0, 1, 2
  CNBDateTime startMultiDay;
  CNBDateTime startMultiDayTimeWindow;
  CNBDateTime start24Hour;
  // Check-box statistics of types 0 and 1, indexed by Statistic (average,
  // maximum, minimum, thresholds 1 to 4); each 0 or 1.
  std::array<int32_t, Statistic::kCount> statistics{1, 0, 0, 0, 0, 0, 0};
  int32_t increment = Increment::k15Min;
  int32_t statisticIndex = Statistic::kAverage;  // radio statistic of types 2 to 5
  double frequency = 5.0;                        // MHz, type 1

  // The reset values, from the clock.
  GraphQuery();

  // Every field to its reset value: windows end at the last quarter hour
  // (Multi-Day at today's local midnight).
  void Reset();
  // As Reset, for a session launched with a reference time: the shared window
  // becomes the hour either side of it, never reaching past the last quarter
  // hour.
  void Reset(const CNBDateTime& referenceTime);

  // The window of the current graph type.
  CNBDateTime GetStart() const;
  CNBDateTime GetEnd() const;
  void SetStart(const CNBDateTime& t);
  void SetEnd(const CNBDateTime& t);

  // The last accepted selection, kept under the "Settings" sub-key of the
  // given section key. Dates are never stored. Values that are missing or
  // unreadable leave their field unchanged. `resetTypeAndIncrement` is for
  // the first load after a launch with a reference time.
  void LoadFromRegistry(const RegistryKey& section, bool resetTypeAndIncrement = false);
  void SaveToRegistry(RegistryKey& section) const;

  bool operator==(const GraphQuery&) const = default;
};
