#pragma once

#include "server/HResult.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "server/nembra.grpc.pb.h"

class INembraClock;
class INembraDataServer;
class INembraSecurity;
class INembraThreshold;
class SimServer;

struct ServiceOptions {
  // Objects nobody has called for this long are released, as a client that
  // died without releasing them would otherwise hold its session for ever.
  std::chrono::seconds objectTimeout{600};
  // After this many calls every call fails as a dropped connection (0: never).
  int64_t dropAfterCalls = 0;
  // Serves the blocks of an answer in one streamed call; off, the call is
  // unknown, as on a server from before it.
  bool streamBlocks = true;
  // How long a streamed answer waits for a block still being computed before
  // it hands back "not ready" and the client's own polling takes over.
  std::chrono::milliseconds streamWait{2000};
};

// The gRPC face of the stand-in server: checks the caller's identity on every
// call, keeps the table of created objects and forwards each call to the
// object it names.
class NembraService final : public nembra::Nembra::Service {
public:
  NembraService(SimServer& server, ServiceOptions options);
  ~NembraService() override;

  grpc::Status CreateObject(grpc::ServerContext*, const nembra::CreateObjectRequest*,
                            nembra::CreateObjectReply*) override;
  grpc::Status ReleaseObject(grpc::ServerContext*, const nembra::ObjectRef*, nembra::ResultReply*) override;
  grpc::Status KeepAlive(grpc::ServerContext*, const nembra::KeepAliveRequest*,
                         nembra::ResultReply*) override;
  grpc::Status Connect(grpc::ServerContext*, const nembra::ObjectRef*, nembra::ResultReply*) override;
  grpc::Status OpenSession(grpc::ServerContext*, const nembra::OpenSessionRequest*,
                           nembra::ResultReply*) override;
  grpc::Status CloseSession(grpc::ServerContext*, const nembra::ObjectRef*, nembra::ResultReply*) override;
  grpc::Status StartSummaryRequest(grpc::ServerContext*, const nembra::StartSummaryRequestMsg*,
                                   nembra::HandleReply*) override;
  grpc::Status ReadSummaryBlock(grpc::ServerContext*, const nembra::HandleRequest*,
                                nembra::BlockReply*) override;
  grpc::Status StartFrequencyRequest(grpc::ServerContext*, const nembra::StartFrequencyRequestMsg*,
                                     nembra::HandleReply*) override;
  grpc::Status ReadFrequencyBlock(grpc::ServerContext*, const nembra::HandleRequest*,
                                  nembra::BlockReply*) override;
  grpc::Status StartRibbonRequest(grpc::ServerContext*, const nembra::StartRibbonRequestMsg*,
                                  nembra::HandleReply*) override;
  grpc::Status NextBlock(grpc::ServerContext*, const nembra::HandleRequest*, nembra::HandleReply*) override;
  grpc::Status EndRequest(grpc::ServerContext*, const nembra::ObjectRef*, nembra::ResultReply*) override;
  grpc::Status ReadRibbonBlock(grpc::ServerContext*, const nembra::HandleRequest*,
                               nembra::BlockReply*) override;
  grpc::Status ReadDayBlock(grpc::ServerContext*, const nembra::HandleRequest*, nembra::BlockReply*) override;
  grpc::Status StartDayRequest(grpc::ServerContext*, const nembra::StartDayRequestMsg*,
                               nembra::HandleReply*) override;
  grpc::Status ReadBlocks(grpc::ServerContext*, const nembra::ReadBlocksRequest*,
                          grpc::ServerWriter<nembra::BlockStep>*) override;
  grpc::Status GetThresholdTable(grpc::ServerContext*, const nembra::ThresholdTableRequest*,
                                 nembra::ThresholdTableReply*) override;
  grpc::Status CheckPermission(grpc::ServerContext*, const nembra::CheckPermissionRequest*,
                               nembra::CheckPermissionReply*) override;
  grpc::Status GetTime(grpc::ServerContext*, const nembra::ObjectRef*, nembra::GetTimeReply*) override;

  // Objects currently in the table (for tests and the log).
  std::size_t objectCount() const;
  // Calls that reached the service, admitted or not; a streamed answer
  // counts as one.
  int64_t calls() const { return m_calls.load(); }

  // The server is going: a streamed answer ends before its next block, as a
  // server that stopped would no longer answer the next call.
  void stopServing() { m_serving = false; }

private:
  struct Object {
    std::shared_ptr<INembraDataServer> data;
    std::shared_ptr<INembraThreshold> threshold;
    std::shared_ptr<INembraSecurity> security;
    std::shared_ptr<INembraClock> clock;
    std::chrono::steady_clock::time_point lastUsed;
  };

  // Admits a call (identity, dropped connection) and runs `body`, which
  // answers the call's result code; the code goes into the reply.
  template <typename Reply>
  grpc::Status serve(grpc::ServerContext* context, Reply* reply, const std::function<HRESULT()>& body);
  bool admitted(grpc::ServerContext* context);
  // The object of an id, its last use refreshed; a copy so that a release
  // running at the same time cannot pull it from under the call.
  std::optional<Object> find(uint64_t id);
  // Runs a call on the data object of an id, or answers that it is gone.
  HRESULT withData(uint64_t id, const std::function<HRESULT(INembraDataServer&)>& call);
  void reapIdleObjects();

  SimServer& m_server;
  ServiceOptions m_options;
  std::atomic<int64_t> m_calls{0};
  std::atomic<bool> m_serving{true};

  mutable std::mutex m_mutex;
  std::unordered_map<uint64_t, Object> m_objects;
  // Starts at a random point, so that the ids a client still holds from an
  // earlier run of the server on the same port name nothing in this one:
  // releasing such a stale proxy must not release a new client's object.
  uint64_t m_nextId;

  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_reaper;
};
