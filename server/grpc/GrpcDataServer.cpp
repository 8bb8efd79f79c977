#include "server/grpc/GrpcDataServer.h"

#include "server/ServerIds.h"
#include "server/grpc/GrpcBlockStream.h"
#include "server/grpc/GrpcConnection.h"

#include <cstring>

namespace {

enum BlockKind { kSummary, kFrequency, kRibbon, kDay };

nembra::ObjectRef ref(uint64_t id) {
  nembra::ObjectRef r;
  r.set_object_id(id);
  return r;
}

HRESULT withHandle(HRESULT result, const nembra::HandleReply& reply, int32_t* handle) {
  if (handle && result == hr::S_OK) *handle = reply.handle();
  return result;
}

// Every non-negative answer may carry the block (a success code other than
// 0 included); not-ready answers carry none.
HRESULT copyBlock(HRESULT r, const std::string& block, std::span<uint8_t> out) {
  if (hr::failed(r) || block.empty()) return r;
  // A block of the wrong size is a broken answer, not data to trust.
  if (block.size() != out.size()) return hr::RPC_S_PROTOCOL_ERROR;
  std::memcpy(out.data(), block.data(), out.size());
  return r;
}

}  // namespace

GrpcDataServer::GrpcDataServer(std::shared_ptr<const GrpcConnection> connection, uint64_t objectId)
    : GrpcRemoteObject(std::move(connection), objectId) {}

GrpcDataServer::~GrpcDataServer() = default;

void GrpcDataServer::endStream() {
  std::lock_guard lock(m_streamMutex);
  m_stream.reset();
}

std::optional<nembra::BlockStep> GrpcDataServer::streamedRead(int kind, int32_t handle) {
  std::lock_guard lock(m_streamMutex);
  if (!m_streaming) return std::nullopt;
  if (m_stream)
    if (auto step = m_stream->take(false, handle)) return step;
  m_stream = std::make_unique<GrpcBlockStream>(connection(), objectId(), kind, handle);
  if (auto step = m_stream->take(false, handle)) return step;
  // Nothing came: a server without the call, or a failure the plain call
  // will report as it always has.
  m_streaming = !m_stream->unsupported();
  m_stream.reset();
  return std::nullopt;
}

HRESULT GrpcDataServer::Connect() {
  nembra::ResultReply reply;
  return connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->Connect(ctx, ref(objectId()), &reply); }, reply);
}

HRESULT GrpcDataServer::OpenSession(int32_t token, int32_t node) {
  nembra::OpenSessionRequest req;
  req.set_object_id(objectId());
  req.set_token(token);
  req.set_node(node);
  nembra::ResultReply reply;
  return connection().invoke([&](auto* stub, auto* ctx) { return stub->OpenSession(ctx, req, &reply); },
                             reply);
}

HRESULT GrpcDataServer::CloseSession() {
  nembra::ResultReply reply;
  return connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->CloseSession(ctx, ref(objectId()), &reply); }, reply);
}

HRESULT GrpcDataServer::StartSummaryRequest(int32_t start, int32_t end, int32_t statistic, int32_t* handle) {
  endStream();
  nembra::StartSummaryRequestMsg req;
  req.set_object_id(objectId());
  req.set_start(start);
  req.set_end(end);
  req.set_statistic(statistic);
  nembra::HandleReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->StartSummaryRequest(ctx, req, &reply); }, reply);
  return withHandle(r, reply, handle);
}

HRESULT GrpcDataServer::StartFrequencyRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                              int32_t statistic, double frequencyMHz, int32_t* handle) {
  endStream();
  nembra::StartFrequencyRequestMsg req;
  req.set_object_id(objectId());
  req.set_start(start);
  req.set_end(end);
  req.set_interval(intervalSeconds);
  req.set_statistic(statistic);
  req.set_frequency(frequencyMHz);
  nembra::HandleReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->StartFrequencyRequest(ctx, req, &reply); }, reply);
  return withHandle(r, reply, handle);
}

HRESULT GrpcDataServer::StartRibbonRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                           int32_t statistic, int32_t* handle) {
  endStream();
  nembra::StartRibbonRequestMsg req;
  req.set_object_id(objectId());
  req.set_start(start);
  req.set_end(end);
  req.set_interval(intervalSeconds);
  req.set_statistic(statistic);
  nembra::HandleReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->StartRibbonRequest(ctx, req, &reply); }, reply);
  return withHandle(r, reply, handle);
}

HRESULT GrpcDataServer::StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart,
                                        int32_t windowEnd, int32_t statistic, int32_t* handle) {
  endStream();
  nembra::StartDayRequestMsg req;
  req.set_object_id(objectId());
  req.set_first_day(firstDay);
  req.set_last_day(lastDay);
  req.set_window_start(windowStart);
  req.set_window_end(windowEnd);
  req.set_statistic(statistic);
  nembra::HandleReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->StartDayRequest(ctx, req, &reply); }, reply);
  return withHandle(r, reply, handle);
}

HRESULT GrpcDataServer::NextBlock(int32_t* handle) {
  if (!handle) return hr::E_POINTER;
  {
    std::lock_guard lock(m_streamMutex);
    if (m_stream)
      if (const auto step = m_stream->take(true, *handle)) {
        if (step->hr() == hr::S_OK) *handle = step->handle();
        return step->hr();
      }
  }
  nembra::HandleRequest req;
  req.set_object_id(objectId());
  req.set_handle(*handle);
  nembra::HandleReply reply;
  const HRESULT r =
      connection().invoke([&](auto* stub, auto* ctx) { return stub->NextBlock(ctx, req, &reply); }, reply);
  return withHandle(r, reply, handle);
}

HRESULT GrpcDataServer::EndRequest() {
  endStream();
  nembra::ResultReply reply;
  return connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->EndRequest(ctx, ref(objectId()), &reply); }, reply);
}

HRESULT GrpcDataServer::readBlock(int kind, int32_t handle, std::span<uint8_t> out) {
  if (const auto step = streamedRead(kind, handle)) return copyBlock(step->hr(), step->block(), out);
  nembra::HandleRequest req;
  req.set_object_id(objectId());
  req.set_handle(handle);
  nembra::BlockReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) {
        switch (kind) {
          case kSummary: return stub->ReadSummaryBlock(ctx, req, &reply);
          case kFrequency: return stub->ReadFrequencyBlock(ctx, req, &reply);
          case kRibbon: return stub->ReadRibbonBlock(ctx, req, &reply);
          default: return stub->ReadDayBlock(ctx, req, &reply);
        }
      },
      reply);
  return copyBlock(r, reply.block(), out);
}

HRESULT GrpcDataServer::ReadSummaryBlock(int32_t handle,
                                         std::span<uint8_t, Blocks::kSummaryBlockSize> block) {
  return readBlock(kSummary, handle, block);
}

HRESULT GrpcDataServer::ReadFrequencyBlock(int32_t handle,
                                           std::span<uint8_t, Blocks::kFrequencyBlockSize> block) {
  return readBlock(kFrequency, handle, block);
}

HRESULT GrpcDataServer::ReadRibbonBlock(int32_t handle, std::span<uint8_t, Blocks::kRibbonBlockSize> block) {
  return readBlock(kRibbon, handle, block);
}

HRESULT GrpcDataServer::ReadDayBlock(int32_t handle, std::span<uint8_t, Blocks::kDayBlockSize> block) {
  return readBlock(kDay, handle, block);
}

HRESULT GrpcDataServer::KeepAlive() {
  nembra::KeepAliveRequest req;
  req.set_object_id(objectId());
  req.set_interface_id(std::string(ServerIds::kDataServerKeepAlive));
  nembra::ResultReply reply;
  return connection().invoke([&](auto* stub, auto* ctx) { return stub->KeepAlive(ctx, req, &reply); }, reply);
}
