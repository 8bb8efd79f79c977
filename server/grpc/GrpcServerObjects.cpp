#include "server/grpc/GrpcServerObjects.h"

#include "server/ServerIds.h"
#include "server/grpc/GrpcConnection.h"
#include "server/grpc/GrpcDataServer.h"
#include "server/grpc/GrpcObjects.h"
#include "server/grpc/HostAddress.h"

GrpcServerObjects::GrpcServerObjects(const std::string& host, ServerIdentity identity,
                                     std::chrono::milliseconds deadline) {
  const std::string target = grpcTarget(host, ServerIds::kDefaultPort);
  if (target.empty()) return;
  grpc::ChannelArguments args;
  // Fail fast on a dead server instead of backing off for minutes.
  args.SetInt(GRPC_ARG_INITIAL_RECONNECT_BACKOFF_MS, 200);
  args.SetInt(GRPC_ARG_MAX_RECONNECT_BACKOFF_MS, 2000);
  auto channel = grpc::CreateCustomChannel(target, grpc::InsecureChannelCredentials(), args);
  m_connection = std::make_shared<const GrpcConnection>(std::move(channel), std::move(identity), deadline);
}

GrpcServerObjects::~GrpcServerObjects() = default;

HRESULT GrpcServerObjects::create(const std::string& classId, std::string_view interfaceId,
                                  uint64_t* objectId) {
  if (!m_connection) return hr::RPC_S_SERVER_UNAVAILABLE;
  nembra::CreateObjectRequest req;
  req.set_class_id(classId);
  req.set_interface_id(std::string(interfaceId));
  nembra::CreateObjectReply reply;
  const HRESULT r = m_connection->invoke(
      [&](auto* stub, auto* ctx) { return stub->CreateObject(ctx, req, &reply); }, reply);
  if (r == hr::S_OK) *objectId = reply.object_id();
  return r;
}

HRESULT GrpcServerObjects::CreateDataServer(const std::string& classId,
                                            std::shared_ptr<INembraDataServer>& out) {
  out.reset();
  uint64_t id = 0;
  const HRESULT r = create(classId, ServerIds::kDataServerInterface, &id);
  if (r == hr::S_OK) out = std::make_shared<GrpcDataServer>(m_connection, id);
  return r;
}

HRESULT GrpcServerObjects::CreateThreshold(const std::string& classId,
                                           std::shared_ptr<INembraThreshold>& out) {
  out.reset();
  uint64_t id = 0;
  const HRESULT r = create(classId, ServerIds::kThresholdInterface, &id);
  if (r == hr::S_OK) out = std::make_shared<GrpcThreshold>(m_connection, id);
  return r;
}

HRESULT GrpcServerObjects::CreateSecurity(std::shared_ptr<INembraSecurity>& out) {
  out.reset();
  uint64_t id = 0;
  const HRESULT r = create(std::string(ServerIds::kSecurityClass), ServerIds::kSecurityInterface, &id);
  if (r == hr::S_OK) out = std::make_shared<GrpcSecurity>(m_connection, id);
  return r;
}

HRESULT GrpcServerObjects::CreateClock(std::shared_ptr<INembraClock>& out) {
  out.reset();
  uint64_t id = 0;
  const HRESULT r = create(std::string(ServerIds::kClockClass), ServerIds::kClockInterface, &id);
  if (r == hr::S_OK) out = std::make_shared<GrpcClock>(m_connection, id);
  return r;
}
