#pragma once

#include <cstdint>
#include <memory>

class GrpcConnection;

// What every proxy shares: the connection and the server-side object id; the
// object is released on the server when the proxy goes.
class GrpcRemoteObject {
protected:
  GrpcRemoteObject(std::shared_ptr<const GrpcConnection> connection, uint64_t objectId);
  ~GrpcRemoteObject();
  GrpcRemoteObject(const GrpcRemoteObject&) = delete;
  GrpcRemoteObject& operator=(const GrpcRemoteObject&) = delete;

  const GrpcConnection& connection() const { return *m_connection; }
  uint64_t objectId() const { return m_objectId; }

private:
  std::shared_ptr<const GrpcConnection> m_connection;
  uint64_t m_objectId;
};
