#pragma once

#include "server/HResult.h"
#include "server/IServerObjects.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>
#include <string>

#include "server/nembra.grpc.pb.h"

// One channel to a server with the caller's identity. Every call carries the
// identity as metadata and a deadline, so a dead or hung server becomes a
// transport result code instead of a hang. Safe to share between threads.
class GrpcConnection {
public:
  GrpcConnection(std::shared_ptr<grpc::Channel> channel, ServerIdentity identity,
                 std::chrono::milliseconds deadline);

  // Runs one call: `rpc(stub, context)` returns the call's grpc::Status;
  // answers the reply's result code, or the transport's code on failure.
  template <typename Rpc, typename Reply>
  HRESULT invoke(Rpc&& rpc, const Reply& reply) const {
    grpc::ClientContext context;
    prepare(context);
    const grpc::Status status = rpc(m_stub.get(), &context);
    return status.ok() ? reply.hr() : transportCode(status);
  }

  // The result code a failed call stands for: unreachable server
  // (0x800706BA) or a call that failed on the way (0x800706BE).
  static HRESULT transportCode(const grpc::Status& status);

  nembra::Nembra::Stub* stub() const { return m_stub.get(); }
  void prepare(grpc::ClientContext& context) const;

private:
  std::shared_ptr<grpc::Channel> m_channel;
  std::unique_ptr<nembra::Nembra::Stub> m_stub;
  ServerIdentity m_identity;
  std::chrono::milliseconds m_deadline;
};

// Metadata keys of the identity.
namespace IdentityMetadata {
constexpr const char* kUser = "nembra-user";
constexpr const char* kDomain = "nembra-domain";
constexpr const char* kPassword = "nembra-password";
}  // namespace IdentityMetadata
