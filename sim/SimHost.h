#pragma once

#include "sim/NembraService.h"

#include <memory>
#include <string>

namespace grpc {
class Server;
}
class SimServer;

// How a host protects its address: TLS with a certificate and key (PEM
// files), or plaintext, which is allowed off loopback only when asked for.
struct ListenSecurity {
  std::string certFile;
  std::string keyFile;
  bool allowPlaintext = false;
};

// Serves a SimServer over gRPC on one address until shut down.
class SimHost {
public:
  SimHost(SimServer& server, ServiceOptions options);
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // Binds and starts serving; port 0 picks a free port (see port()). Without
  // a certificate it refuses an address other than loopback unless
  // `security` allows plaintext, and then logs a warning.
  bool start(const std::string& address, std::string* error, const ListenSecurity& security = {});
  // The refusal start() would give for an address and its security, without
  // binding: the program asks before it opens anything.
  static bool mayListen(const std::string& address, const ListenSecurity& security, std::string* error);
  int port() const { return m_port; }
  // Blocks until shutdown() is called from another thread.
  void wait();
  // Stops serving; calls in flight get a short grace period.
  void shutdown();

  NembraService& service() { return *m_service; }

private:
  std::unique_ptr<NembraService> m_service;
  std::unique_ptr<grpc::Server> m_server;
  int m_port = 0;
};
