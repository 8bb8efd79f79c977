#pragma once

#include "server/Blocks.h"
#include "server/HResult.h"

#include <cstdint>
#include <span>

// The threshold object, created per use on the session's host.
class INembraThreshold {
public:
  virtual ~INembraThreshold() = default;

  // Slot 3: fills `table` with up to *count entries (in: 250) of the port's
  // threshold table; *count answers the entries written. The two further
  // outputs are the server's own.
  virtual HRESULT GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1,
                                    int32_t* out2,
                                    std::span<uint8_t, Blocks::kThresholdTableSize> table) = 0;
};
