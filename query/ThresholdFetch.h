#pragma once

#include "server/Blocks.h"
#include "server/HResult.h"
#include "server/IServerObjects.h"

#include <string>

// Reads a port's threshold table through a threshold object of its own,
// created for this one call and released after it.
class ThresholdFetch {
public:
  // Answers S_OK with `out` holding the table (entries from the count on are
  // unused) and `*entries` the entries the server wrote; any other answer is
  // the code for the caller to report as "Request failed." and leaves `out`
  // and `*entries` as they were (a table that does not decode answers
  // RPC_S_PROTOCOL_ERROR). `entries` may be null.
  [[nodiscard]] HRESULT run(IServerObjects& objects, const std::string& dataClassId, int32_t node, int32_t token,
              ThresholdTable& out, int* entries) const;
};
