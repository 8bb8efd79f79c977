#include "server/grpc/GrpcRemoteObject.h"

#include "server/grpc/GrpcConnection.h"

GrpcRemoteObject::GrpcRemoteObject(std::shared_ptr<const GrpcConnection> connection, uint64_t objectId)
    : m_connection(std::move(connection)), m_objectId(objectId) {}

GrpcRemoteObject::~GrpcRemoteObject() {
  // Best effort: a server that is gone has released it already.
  nembra::ObjectRef req;
  req.set_object_id(m_objectId);
  nembra::ResultReply reply;
  m_connection->invoke([&](auto* stub, auto* ctx) { return stub->ReleaseObject(ctx, req, &reply); }, reply);
}
