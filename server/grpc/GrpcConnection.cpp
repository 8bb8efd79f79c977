#include "server/grpc/GrpcConnection.h"

GrpcConnection::GrpcConnection(std::shared_ptr<grpc::Channel> channel, ServerIdentity identity,
                               std::chrono::milliseconds deadline)
    : m_channel(std::move(channel)),
      m_stub(nembra::Nembra::NewStub(m_channel)),
      m_identity(std::move(identity)),
      m_deadline(deadline) {}

void GrpcConnection::prepare(grpc::ClientContext& context) const {
  context.set_deadline(std::chrono::system_clock::now() + m_deadline);
  context.AddMetadata(IdentityMetadata::kUser, m_identity.user);
  context.AddMetadata(IdentityMetadata::kDomain, m_identity.domain);
  context.AddMetadata(IdentityMetadata::kPassword, m_identity.password);
}

HRESULT GrpcConnection::transportCode(const grpc::Status& status) {
  switch (status.error_code()) {
    case grpc::StatusCode::UNAVAILABLE: return hr::RPC_S_SERVER_UNAVAILABLE;
    case grpc::StatusCode::UNAUTHENTICATED:
    case grpc::StatusCode::PERMISSION_DENIED: return hr::E_ACCESSDENIED;
    default: return hr::RPC_S_CALL_FAILED;
  }
}
