#pragma once

#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"
#include "query/SeriesStore.h"
#include "server/INembraDataServer.h"

// The worker body of Time Window Summary (type 0: one frequency profile per
// ticked statistic) and One Frequency Time Window (type 1: one time series
// per ticked statistic). Each statistic is its own single-block request,
// which the server ends when the block has been read.
class SeriesFetch {
public:
  // Clears `store`, then fetches the ticked statistics in index order into
  // slots 0, 1, ... until one fails. Answers data ok: 1 when every ticked
  // statistic arrived, 0 otherwise (also when none is ticked or the graph type
  // is neither 0 nor 1). Progress counters: statistics done of ticked.
  [[nodiscard]] int run(INembraDataServer& server, const GraphQuery& query, FetchFlags& flags, IFetchReporter& reporter,
          const FetchPacing& pacing, SeriesStore& store) const;
};
