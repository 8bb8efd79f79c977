#include "server/grpc/GrpcServerObjects.h"

#include "server/ServerIds.h"
#include "server/grpc/GrpcConnection.h"
#include "server/grpc/GrpcDataServer.h"
#include "server/grpc/GrpcObjects.h"
#include "server/grpc/HostAddress.h"
#include "server/grpc/TlsProbe.h"

GrpcServerObjects::GrpcServerObjects(const std::string& host, ServerIdentity identity,
                                     std::chrono::milliseconds deadline, const std::string& caFile)
    : m_target(grpcTarget(host, ServerIds::kDefaultPort)), m_deadline(deadline) {
  if (m_target.empty()) return;
  grpc::ChannelArguments args;
  // Fail fast on a dead server instead of backing off for minutes.
  args.SetInt(GRPC_ARG_INITIAL_RECONNECT_BACKOFF_MS, 200);
  args.SetInt(GRPC_ARG_MAX_RECONNECT_BACKOFF_MS, 2000);
  // Loopback never leaves the machine; any other host carries the password
  // across a network, so only over TLS with a certificate that verifies.
  std::shared_ptr<grpc::ChannelCredentials> credentials = grpc::InsecureChannelCredentials();
  m_tls = !isLoopbackTarget(m_target);
  if (m_tls) {
    m_roots = trustedRoots(caFile);
    if (!m_roots) m_check = {CertificateProblem::CaFileUnreadable, caFile};
    grpc::SslCredentialsOptions ssl;
    ssl.pem_root_certs = m_roots.value_or("");
    credentials = grpc::SslCredentials(ssl);
  }
  auto channel = grpc::CreateCustomChannel(m_target, credentials, args);
  m_connection = std::make_shared<const GrpcConnection>(std::move(channel), std::move(identity), deadline);
}

HRESULT GrpcServerObjects::checkCertificate() {
  if (!m_tls) return hr::S_OK;
  std::lock_guard lock(m_checkMutex);
  if (!m_checked && m_roots) {
    const TlsProbeResult probe = probeTls(m_target, *m_roots, m_deadline);
    // An unreachable host is the channel's to report, as for loopback.
    if (!probe.reached) return hr::RPC_S_SERVER_UNAVAILABLE;
    m_check = probe.check;
    m_checked = true;
  }
  return m_check.problem == CertificateProblem::None && m_roots ? hr::S_OK : hr::RPC_S_CALL_FAILED_DNE;
}

CertificateCheck GrpcServerObjects::certificateCheck() const {
  std::lock_guard lock(m_checkMutex);
  return m_check;
}

GrpcServerObjects::~GrpcServerObjects() = default;

HRESULT GrpcServerObjects::create(const std::string& classId, std::string_view interfaceId,
                                  uint64_t* objectId) {
  if (!m_connection) return hr::RPC_S_SERVER_UNAVAILABLE;
  if (const HRESULT r = checkCertificate(); r != hr::S_OK) return r;
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
