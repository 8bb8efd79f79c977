#pragma once

#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"
#include "query/RibbonSet.h"
#include "server/INembraDataServer.h"

// The worker body of Time Window Detail, 24 Hour, Multi-Day and Multi-Day
// Time Window: one request whose answer is up to 97 blocks, filed from the
// latest ribbon down. The server's request is ended on every way out, so a
// cancelled or failed fetch never leaves the session busy for the next one.
class RibbonFetch {
public:
  // Fills `out` (cleared first; partly filled after a failure) and answers
  // data ok: 1 when every block arrived, else 0. Failures are told through
  // `reporter` (at most one message); Cancel (flags.running 0) is silent.
  // Sets flags.percent and the progress counters flags.step / flags.steps
  // (blocks read of R). Any other graph type answers 0 without a call.
  [[nodiscard]] int run(INembraDataServer& server, const GraphQuery& query, FetchFlags& flags, IFetchReporter& reporter,
          const FetchPacing& pacing, RibbonSet& out) const;
};
