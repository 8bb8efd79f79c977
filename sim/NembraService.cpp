#include "sim/NembraService.h"

#include "server/Blocks.h"
#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/IServerObjects.h"
#include "server/ServerIds.h"
#include "server/grpc/GrpcConnection.h"
#include "sim/SimServer.h"

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

namespace {

std::string metadata(const grpc::ServerContext* context, const char* key) {
  const auto& md = context->client_metadata();
  const auto it = md.find(key);
  return it == md.end() ? std::string() : std::string(it->second.data(), it->second.size());
}

// Reads one block into a reply: the bytes travel with every answer that
// filled them, that is every non-negative one but not-ready.
template <std::size_t Size, typename Reply, typename Read>
HRESULT readInto(Reply* reply, Read&& read) {
  std::vector<uint8_t> block(Size);
  const HRESULT r = read(std::span<uint8_t, Size>(block.data(), Size));
  if (hr::succeeded(r) && r != hr::kNotReady) reply->set_block(block.data(), block.size());
  return r;
}

// One block read of any kind into a stream step.
HRESULT readStep(INembraDataServer& d, int kind, int32_t handle, nembra::BlockStep* step) {
  switch (kind) {
    case 0:
      return readInto<Blocks::kSummaryBlockSize>(step, [&](auto b) { return d.ReadSummaryBlock(handle, b); });
    case 1:
      return readInto<Blocks::kFrequencyBlockSize>(step,
                                                   [&](auto b) { return d.ReadFrequencyBlock(handle, b); });
    case 2:
      return readInto<Blocks::kRibbonBlockSize>(step, [&](auto b) { return d.ReadRibbonBlock(handle, b); });
    default: return readInto<Blocks::kDayBlockSize>(step, [&](auto b) { return d.ReadDayBlock(handle, b); });
  }
}

}  // namespace

NembraService::NembraService(SimServer& server, ServiceOptions options)
    : m_server(server),
      m_options(options),
      m_nextId((uint64_t{std::random_device{}()} << 16) + 1),
      m_reaper([this] { reapIdleObjects(); }) {}

NembraService::~NembraService() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_reaper.join();
}

std::size_t NembraService::objectCount() const {
  std::lock_guard lock(m_mutex);
  return m_objects.size();
}

void NembraService::reapIdleObjects() {
  std::unique_lock lock(m_mutex);
  const auto period = std::clamp<std::chrono::seconds>(m_options.objectTimeout / 4, std::chrono::seconds(1),
                                                       std::chrono::seconds(60));
  while (!m_wake.wait_for(lock, period, [this] { return m_stopping; })) {
    const auto cutoff = std::chrono::steady_clock::now() - m_options.objectTimeout;
    std::vector<Object> idle;  // destroyed outside the lock: releasing may end sessions
    for (auto it = m_objects.begin(); it != m_objects.end();) {
      if (it->second.lastUsed < cutoff) {
        idle.push_back(std::move(it->second));
        it = m_objects.erase(it);
      } else {
        ++it;
      }
    }
    lock.unlock();
    idle.clear();
    lock.lock();
  }
}

bool NembraService::admitted(grpc::ServerContext* context) {
  ServerIdentity identity;
  identity.user = metadata(context, IdentityMetadata::kUser);
  identity.domain = metadata(context, IdentityMetadata::kDomain);
  identity.password = metadata(context, IdentityMetadata::kPassword);
  // "ipv4:192.0.2.7:53122": the address without the port the caller
  // happened to get, which changes with every connection.
  std::string peer = context->peer();
  if (const auto colon = peer.rfind(':'); colon != std::string::npos && colon > peer.find(':'))
    peer.resize(colon);
  return m_server.authenticate(identity, peer);
}

template <typename Reply>
grpc::Status NembraService::serve(grpc::ServerContext* context, Reply* reply,
                                  const std::function<HRESULT()>& body) {
  const int64_t call = ++m_calls;
  if (m_options.dropAfterCalls > 0 && call > m_options.dropAfterCalls)
    return grpc::Status(grpc::StatusCode::UNAVAILABLE, "connection dropped");
  reply->set_hr(admitted(context) ? body() : hr::E_ACCESSDENIED);
  return grpc::Status::OK;
}

std::optional<NembraService::Object> NembraService::find(uint64_t id) {
  std::lock_guard lock(m_mutex);
  const auto it = m_objects.find(id);
  if (it == m_objects.end()) return std::nullopt;
  it->second.lastUsed = std::chrono::steady_clock::now();
  return it->second;
}

grpc::Status NembraService::CreateObject(grpc::ServerContext* ctx, const nembra::CreateObjectRequest* req,
                                         nembra::CreateObjectReply* rep) {
  return serve(ctx, rep, [&] {
    using namespace ServerIds;
    const std::string& cls = req->class_id();
    const std::string& itf = req->interface_id();
    Object object;
    HRESULT r = hr::REGDB_E_CLASSNOTREG;
    if (sameClassId(cls, kDataServerClass)) {
      if (sameClassId(itf, kDataServerInterface))
        r = m_server.createDataServer(object.data);
      else if (sameClassId(itf, kThresholdInterface))
        r = m_server.createThreshold(object.threshold);
      else
        r = hr::E_NOINTERFACE;
    } else if (sameClassId(cls, kSecurityClass)) {
      r = sameClassId(itf, kSecurityInterface) ? m_server.createSecurity(object.security) : hr::E_NOINTERFACE;
    } else if (sameClassId(cls, kClockClass)) {
      r = sameClassId(itf, kClockInterface) ? m_server.createClock(object.clock) : hr::E_NOINTERFACE;
    }
    if (r != hr::S_OK) return r;
    object.lastUsed = std::chrono::steady_clock::now();
    std::lock_guard lock(m_mutex);
    const uint64_t id = m_nextId++;
    m_objects.emplace(id, std::move(object));
    rep->set_object_id(id);
    return r;
  });
}

grpc::Status NembraService::ReleaseObject(grpc::ServerContext* ctx, const nembra::ObjectRef* req,
                                          nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    std::optional<Object> released;
    {
      std::lock_guard lock(m_mutex);
      const auto it = m_objects.find(req->object_id());
      if (it == m_objects.end()) return hr::RPC_E_DISCONNECTED;
      released = std::move(it->second);
      m_objects.erase(it);
    }
    return hr::S_OK;  // `released` goes here, outside the lock
  });
}

grpc::Status NembraService::KeepAlive(grpc::ServerContext* ctx, const nembra::KeepAliveRequest* req,
                                      nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    const auto o = find(req->object_id());
    if (!o) return hr::RPC_E_DISCONNECTED;
    if (o->data && ServerIds::sameClassId(req->interface_id(), ServerIds::kDataServerKeepAlive))
      return o->data->KeepAlive();
    if (o->security && ServerIds::sameClassId(req->interface_id(), ServerIds::kSecurityKeepAlive))
      return o->security->KeepAlive();
    return hr::E_NOINTERFACE;
  });
}

HRESULT NembraService::withData(uint64_t id, const std::function<HRESULT(INembraDataServer&)>& call) {
  const auto o = find(id);
  if (!o || !o->data) return hr::RPC_E_DISCONNECTED;
  return call(*o->data);
}

grpc::Status NembraService::Connect(grpc::ServerContext* ctx, const nembra::ObjectRef* req,
                                    nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT { return d.Connect(); });
  });
}

grpc::Status NembraService::OpenSession(grpc::ServerContext* ctx, const nembra::OpenSessionRequest* req,
                                        nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      return d.OpenSession(req->token(), req->node());
    });
  });
}

grpc::Status NembraService::CloseSession(grpc::ServerContext* ctx, const nembra::ObjectRef* req,
                                         nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT { return d.CloseSession(); });
  });
}

grpc::Status NembraService::EndRequest(grpc::ServerContext* ctx, const nembra::ObjectRef* req,
                                       nembra::ResultReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT { return d.EndRequest(); });
  });
}

grpc::Status NembraService::StartSummaryRequest(grpc::ServerContext* ctx,
                                                const nembra::StartSummaryRequestMsg* req,
                                                nembra::HandleReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      int32_t handle = 0;
      const HRESULT r = d.StartSummaryRequest(req->start(), req->end(), req->statistic(), &handle);
      rep->set_handle(handle);
      return r;
    });
  });
}

grpc::Status NembraService::StartFrequencyRequest(grpc::ServerContext* ctx,
                                                  const nembra::StartFrequencyRequestMsg* req,
                                                  nembra::HandleReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      int32_t handle = 0;
      const HRESULT r = d.StartFrequencyRequest(req->start(), req->end(), req->interval(), req->statistic(),
                                                req->frequency(), &handle);
      rep->set_handle(handle);
      return r;
    });
  });
}

grpc::Status NembraService::StartRibbonRequest(grpc::ServerContext* ctx,
                                               const nembra::StartRibbonRequestMsg* req,
                                               nembra::HandleReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      int32_t handle = 0;
      const HRESULT r =
          d.StartRibbonRequest(req->start(), req->end(), req->interval(), req->statistic(), &handle);
      rep->set_handle(handle);
      return r;
    });
  });
}

grpc::Status NembraService::StartDayRequest(grpc::ServerContext* ctx, const nembra::StartDayRequestMsg* req,
                                            nembra::HandleReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      int32_t handle = 0;
      const HRESULT r = d.StartDayRequest(req->first_day(), req->last_day(), req->window_start(),
                                          req->window_end(), req->statistic(), &handle);
      rep->set_handle(handle);
      return r;
    });
  });
}

grpc::Status NembraService::NextBlock(grpc::ServerContext* ctx, const nembra::HandleRequest* req,
                                      nembra::HandleReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      int32_t handle = req->handle();
      const HRESULT r = d.NextBlock(&handle);
      rep->set_handle(handle);
      return r;
    });
  });
}

grpc::Status NembraService::ReadSummaryBlock(grpc::ServerContext* ctx, const nembra::HandleRequest* req,
                                             nembra::BlockReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      return readInto<Blocks::kSummaryBlockSize>(
          rep, [&](auto block) { return d.ReadSummaryBlock(req->handle(), block); });
    });
  });
}

grpc::Status NembraService::ReadFrequencyBlock(grpc::ServerContext* ctx, const nembra::HandleRequest* req,
                                               nembra::BlockReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      return readInto<Blocks::kFrequencyBlockSize>(
          rep, [&](auto block) { return d.ReadFrequencyBlock(req->handle(), block); });
    });
  });
}

grpc::Status NembraService::ReadRibbonBlock(grpc::ServerContext* ctx, const nembra::HandleRequest* req,
                                            nembra::BlockReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      return readInto<Blocks::kRibbonBlockSize>(
          rep, [&](auto block) { return d.ReadRibbonBlock(req->handle(), block); });
    });
  });
}

grpc::Status NembraService::ReadDayBlock(grpc::ServerContext* ctx, const nembra::HandleRequest* req,
                                         nembra::BlockReply* rep) {
  return serve(ctx, rep, [&] {
    return withData(req->object_id(), [&](INembraDataServer& d) -> HRESULT {
      return readInto<Blocks::kDayBlockSize>(
          rep, [&](auto block) { return d.ReadDayBlock(req->handle(), block); });
    });
  });
}

grpc::Status NembraService::GetThresholdTable(grpc::ServerContext* ctx,
                                              const nembra::ThresholdTableRequest* req,
                                              nembra::ThresholdTableReply* rep) {
  return serve(ctx, rep, [&]() -> HRESULT {
    const auto o = find(req->object_id());
    if (!o || !o->threshold) return hr::RPC_E_DISCONNECTED;
    std::vector<uint8_t> table(Blocks::kThresholdTableSize);
    int32_t count = std::clamp(req->count(), 0, Blocks::kThresholdEntries);
    int32_t out1 = 0, out2 = 0;
    const HRESULT r = o->threshold->GetThresholdTable(
        req->node(), req->token(), &count, &out1, &out2,
        std::span<uint8_t, Blocks::kThresholdTableSize>(table.data(), table.size()));
    if (r == hr::S_OK) {
      count = std::clamp(count, 0, Blocks::kThresholdEntries);
      rep->set_count(count);
      rep->set_out1(out1);
      rep->set_out2(out2);
      rep->set_table(table.data(), static_cast<std::size_t>(count) * Blocks::kThresholdEntrySize);
    }
    return r;
  });
}

grpc::Status NembraService::CheckPermission(grpc::ServerContext* ctx,
                                            const nembra::CheckPermissionRequest* req,
                                            nembra::CheckPermissionReply* rep) {
  return serve(ctx, rep, [&]() -> HRESULT {
    const auto o = find(req->object_id());
    if (!o || !o->security) return hr::RPC_E_DISCONNECTED;
    int32_t granted = 0, error = 0;
    const HRESULT r = o->security->CheckPermission(req->token(), req->permission(), &granted, &error);
    rep->set_granted(granted);
    rep->set_error(error);
    return r;
  });
}

grpc::Status NembraService::GetTime(grpc::ServerContext* ctx, const nembra::ObjectRef* req,
                                    nembra::GetTimeReply* rep) {
  return serve(ctx, rep, [&]() -> HRESULT {
    const auto o = find(req->object_id());
    if (!o || !o->clock) return hr::RPC_E_DISCONNECTED;
    double time = 0.0;
    const HRESULT r = o->clock->GetTime(&time);
    rep->set_time(time);
    return r;
  });
}

grpc::Status NembraService::ReadBlocks(grpc::ServerContext* ctx, const nembra::ReadBlocksRequest* req,
                                       grpc::ServerWriter<nembra::BlockStep>* writer) {
  // A block still being computed is waited for here, not asked for again by
  // the client after a sleep.
  if (!m_options.streamBlocks) return grpc::Status(grpc::StatusCode::UNIMPLEMENTED, "not served");
  nembra::BlockStep first;
  first.set_handle(req->handle());
  const grpc::Status refused = serve(ctx, &first, [&]() -> HRESULT {
    const auto o = find(req->object_id());
    return o && o->data ? hr::S_OK : hr::RPC_E_DISCONNECTED;
  });
  if (!refused.ok() || first.hr() != hr::S_OK) {
    if (refused.ok()) writer->Write(first);
    return refused;
  }
  const auto o = find(req->object_id());
  if (!o || !o->data) return grpc::Status::OK;
  INembraDataServer& d = *o->data;  // `o` holds the object for the whole call
  const int kind = req->kind();
  int32_t handle = req->handle();
  while (!ctx->IsCancelled()) {
    if (!m_serving) return grpc::Status(grpc::StatusCode::UNAVAILABLE, "server stopping");
    nembra::BlockStep step;
    step.set_handle(handle);
    HRESULT r;
    const auto until = std::chrono::steady_clock::now() + m_options.streamWait;
    while ((r = readStep(d, kind, handle, &step)) == hr::kNotReady &&
           std::chrono::steady_clock::now() < until && !ctx->IsCancelled())
      std::this_thread::sleep_for(std::chrono::microseconds(250));
    step.set_hr(r);
    if (!writer->Write(step) || r != hr::S_OK || kind < 2) break;
    nembra::BlockStep next;
    next.set_next(true);
    int32_t following = handle;
    const HRESULT n = d.NextBlock(&following);
    next.set_hr(n);
    next.set_handle(following);
    if (!writer->Write(next) || n != hr::S_OK) break;
    handle = following;
  }
  return grpc::Status::OK;
}
