#pragma once

#include "server/INembraDataServer.h"
#include "sim/RequestPlan.h"

#include <memory>
#include <mutex>
#include <optional>
#include <span>

class SimContext;
class SimRequest;

// The data object: one session (token, node) and at most one request in
// process. A request stays in process until EndRequest or CloseSession, or,
// for the one-block summary and frequency requests, until its block has been
// read, since the client ends those by reading them.
class SimDataServer final : public INembraDataServer {
public:
  explicit SimDataServer(std::shared_ptr<SimContext> context);
  ~SimDataServer() override;  // ends the request and frees the session slot

  HRESULT Connect() override;
  HRESULT OpenSession(int32_t token, int32_t node) override;
  HRESULT CloseSession() override;
  HRESULT StartSummaryRequest(int32_t start, int32_t end, int32_t statistic, int32_t* handle) override;
  HRESULT ReadSummaryBlock(int32_t handle, std::span<uint8_t, Blocks::kSummaryBlockSize> block) override;
  HRESULT StartFrequencyRequest(int32_t start, int32_t end, int32_t intervalSeconds, int32_t statistic,
                                double frequencyMHz, int32_t* handle) override;
  HRESULT ReadFrequencyBlock(int32_t handle, std::span<uint8_t, Blocks::kFrequencyBlockSize> block) override;
  HRESULT StartRibbonRequest(int32_t start, int32_t end, int32_t intervalSeconds, int32_t statistic,
                             int32_t* handle) override;
  HRESULT NextBlock(int32_t* handle) override;
  HRESULT EndRequest() override;
  HRESULT ReadRibbonBlock(int32_t handle, std::span<uint8_t, Blocks::kRibbonBlockSize> block) override;
  HRESULT ReadDayBlock(int32_t handle, std::span<uint8_t, Blocks::kDayBlockSize> block) override;
  HRESULT StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart, int32_t windowEnd,
                          int32_t statistic, int32_t* handle) override;
  HRESULT KeepAlive() override;

private:
  struct Session {
    int32_t token;
    int32_t node;
  };
  // `makePlan` checks the arguments against the session's port.
  HRESULT openSession(int32_t token, int32_t node);
  template <typename MakePlan>
  HRESULT start(const char* call, int32_t* handle, MakePlan makePlan);
  HRESULT read(const char* call, RequestKind kind, int32_t handle, std::span<uint8_t> out);
  void endRequestLocked();
  void closeSessionLocked(const char* why);

  const std::shared_ptr<SimContext> m_context;
  mutable std::mutex m_mutex;
  std::optional<Session> m_session;
  std::shared_ptr<SimRequest> m_request;
  int32_t m_nextHandle = 1;
};
