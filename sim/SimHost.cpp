#include "sim/SimHost.h"

#include "server/grpc/HostAddress.h"
#include "sim/SimLog.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace {

bool readFile(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  *out = text.str();
  return !in.bad();
}

// The credentials of an address, or null with the reason.
std::shared_ptr<grpc::ServerCredentials> credentials(const std::string& address,
                                                     const ListenSecurity& security, std::string* error) {
  const auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return nullptr;
  };
  if (!SimHost::mayListen(address, security, error)) return nullptr;
  if (security.certFile.empty()) {
    if (isLoopbackTarget(address)) return grpc::InsecureServerCredentials();
    SimLog::line("warning: serving " + address +
                 " without TLS; user names and passwords cross the network in clear");
    return grpc::InsecureServerCredentials();
  }
  grpc::SslServerCredentialsOptions::PemKeyCertPair pair;
  if (!readFile(security.keyFile, &pair.private_key))
    return fail("cannot read the TLS key " + security.keyFile);
  if (!readFile(security.certFile, &pair.cert_chain))
    return fail("cannot read the TLS certificate " + security.certFile);
  grpc::SslServerCredentialsOptions options;
  options.pem_key_cert_pairs.push_back(std::move(pair));
  return grpc::SslServerCredentials(options);
}

}  // namespace

bool SimHost::mayListen(const std::string& address, const ListenSecurity& security, std::string* error) {
  const auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (security.certFile.empty() != security.keyFile.empty())
    return fail("a TLS certificate needs its key and a key its certificate (--tls-cert and --tls-key)");
  if (security.certFile.empty() && !security.allowPlaintext && !isLoopbackTarget(address))
    return fail("refusing to serve " + address +
                " without TLS: passwords would cross the network in clear; give --tls-cert and --tls-key "
                "(or --allow-plaintext to accept that)");
  return true;
}

SimHost::SimHost(SimServer& server, ServiceOptions options)
    : m_service(std::make_unique<NembraService>(server, options)) {}

SimHost::~SimHost() {
  shutdown();
}

bool SimHost::start(const std::string& address, std::string* error, const ListenSecurity& security) {
  const auto creds = credentials(address, security, error);
  if (!creds) return false;
  grpc::ServerBuilder builder;
  builder.AddListeningPort(address, creds, &m_port);
  builder.RegisterService(m_service.get());
  m_server = builder.BuildAndStart();
  if (!m_server || m_port == 0) {
    if (error)
      *error = "cannot listen on " + address +
               (security.certFile.empty() ? "" : " with the TLS certificate and key given (do they match?)");
    m_server.reset();
    return false;
  }
  return true;
}

void SimHost::wait() {
  if (m_server) m_server->Wait();
}

void SimHost::shutdown() {
  if (!m_server) return;
  m_service->stopServing();
  m_server->Shutdown(std::chrono::system_clock::now() + std::chrono::seconds(2));
}
