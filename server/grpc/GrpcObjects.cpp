#include "server/grpc/GrpcObjects.h"

#include "server/ServerIds.h"
#include "server/grpc/GrpcConnection.h"

#include <algorithm>
#include <cstring>

HRESULT GrpcThreshold::GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1,
                                         int32_t* out2,
                                         std::span<uint8_t, Blocks::kThresholdTableSize> table) {
  if (!count) return hr::E_POINTER;
  nembra::ThresholdTableRequest req;
  req.set_object_id(objectId());
  req.set_node(node);
  req.set_token(token);
  req.set_count(*count);
  nembra::ThresholdTableReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->GetThresholdTable(ctx, req, &reply); }, reply);
  if (r != hr::S_OK) return r;
  const int entries = std::clamp(reply.count(), 0, Blocks::kThresholdEntries);
  const std::size_t bytes = static_cast<std::size_t>(entries) * Blocks::kThresholdEntrySize;
  if (reply.table().size() < bytes) return hr::RPC_S_PROTOCOL_ERROR;
  std::memcpy(table.data(), reply.table().data(), bytes);
  *count = entries;
  if (out1) *out1 = reply.out1();
  if (out2) *out2 = reply.out2();
  return r;
}

HRESULT GrpcSecurity::CheckPermission(int32_t token, int32_t permission, int32_t* granted, int32_t* error) {
  nembra::CheckPermissionRequest req;
  req.set_object_id(objectId());
  req.set_token(token);
  req.set_permission(permission);
  nembra::CheckPermissionReply reply;
  const HRESULT r = connection().invoke(
      [&](auto* stub, auto* ctx) { return stub->CheckPermission(ctx, req, &reply); }, reply);
  // The outputs are the server's answer whatever the call's code says.
  if (granted) *granted = reply.granted();
  if (error) *error = reply.error();
  return r;
}

HRESULT GrpcSecurity::KeepAlive() {
  nembra::KeepAliveRequest req;
  req.set_object_id(objectId());
  req.set_interface_id(std::string(ServerIds::kSecurityKeepAlive));
  nembra::ResultReply reply;
  return connection().invoke([&](auto* stub, auto* ctx) { return stub->KeepAlive(ctx, req, &reply); }, reply);
}

HRESULT GrpcClock::GetTime(double* time) {
  if (!time) return hr::E_POINTER;
  nembra::ObjectRef req;
  req.set_object_id(objectId());
  nembra::GetTimeReply reply;
  const HRESULT r =
      connection().invoke([&](auto* stub, auto* ctx) { return stub->GetTime(ctx, req, &reply); }, reply);
  if (r == hr::S_OK) *time = reply.time();
  return r;
}
