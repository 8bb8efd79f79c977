#pragma once

#include "query/GraphQuery.h"

#include <QString>
#include <cstdint>

// What a launcher handed over on the command line, one record for the
// process. Every field holds its "absent" value until its key is parsed, so
// the launch can tell a value that was given from one that was not.
struct LaunchParameters {
  QString serverHost{};        // IP
  int32_t token = -1;          // TOKEN
  QString label{};             // LABEL
  int32_t node = 0;            // NODE
  int32_t startTime = -1;      // TIMESTART, seconds since 1970 UTC
  int32_t stopTime = -1;       // TIMESTOP, seconds since 1970 UTC
  int32_t graphType = -1;      // QUERY, GraphType
  int32_t upToTheSecond = -1;  // UPTOTHESEC, 0 off, other on
  double frequency = -1.0;     // SFTWFREQ, MHz
  int32_t statistics = -1;     // STAT, bit mask in Statistic order
  int32_t increment = -1;      // INC, Increment index
  bool launchedWithParameters = false;

  // Back to the absent values. The node is deliberately left alone: its absent
  // value doubles as a real node number, and start-up has always kept it.
  void reset() {
    const int32_t keptNode = node;
    *this = LaunchParameters();
    node = keptNode;
  }

  bool operator==(const LaunchParameters&) const = default;
};

// Writes all seven check-box statistics of `query` from a STAT mask: bit n
// switches statistic n on, and a clear bit switches it off, so the mask fully
// replaces whatever the request held. Bits above the seventh are ignored.
inline void ApplyStatisticsMask(int32_t mask, GraphQuery& query) {
  const auto bits = static_cast<uint32_t>(mask);
  for (int i = 0; i < Statistic::kCount; ++i) query.statistics[i] = (bits >> i) & 1U ? 1 : 0;
}
