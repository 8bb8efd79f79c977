#pragma once

#include "server/Blocks.h"
#include "server/HResult.h"

#include <cstdint>
#include <span>

// The data object of the monitoring server, one method per slot as the
// session and the fetch workers call it. Times are seconds since 1970 UTC;
// blocks are caller buffers of the documented sizes. Implementations are
// safe to call from any thread, one request at a time per object.
class INembraDataServer {
public:
  virtual ~INembraDataServer() = default;

  virtual HRESULT Connect() = 0;                                  // slot 3
  virtual HRESULT OpenSession(int32_t token, int32_t node) = 0;   // slot 4
  virtual HRESULT CloseSession() = 0;                             // slot 5
  virtual HRESULT StartSummaryRequest(int32_t start, int32_t end, int32_t statistic,
                                      int32_t* handle) = 0;       // slot 9
  virtual HRESULT ReadSummaryBlock(int32_t handle,
                                   std::span<uint8_t, Blocks::kSummaryBlockSize> block) = 0;  // slot 10
  virtual HRESULT StartFrequencyRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                        int32_t statistic, double frequencyMHz,
                                        int32_t* handle) = 0;     // slot 11
  virtual HRESULT ReadFrequencyBlock(int32_t handle,
                                     std::span<uint8_t, Blocks::kFrequencyBlockSize> block) = 0;  // slot 12
  virtual HRESULT StartRibbonRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                     int32_t statistic, int32_t* handle) = 0;  // slot 13
  virtual HRESULT NextBlock(int32_t* handle) = 0;                 // slot 14
  virtual HRESULT EndRequest() = 0;                               // slot 15
  virtual HRESULT ReadRibbonBlock(int32_t handle,
                                  std::span<uint8_t, Blocks::kRibbonBlockSize> block) = 0;  // slot 16
  virtual HRESULT ReadDayBlock(int32_t handle,
                               std::span<uint8_t, Blocks::kDayBlockSize> block) = 0;        // slot 17
  virtual HRESULT StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart,
                                  int32_t windowEnd, int32_t statistic,
                                  int32_t* handle) = 0;           // slot 18

  // The one call of the keep-alive interface reached from this object.
  virtual HRESULT KeepAlive() = 0;
};
