#pragma once

#include "server/HResult.h"
#include "server/IServerObjects.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class FaultPlan;
class INembraClock;
class INembraDataServer;
class INembraSecurity;
class INembraThreshold;
class SimAuthenticator;
class SimContext;

// Options of one stand-in server.
struct SimOptions {
  std::string dbPath;
  int maxSessions = 32;               // open sessions before OpenSession answers 0x80044310
  int workerThreads = 2;              // threads that compute the answers of requests
  std::shared_ptr<FaultPlan> faults;  // may be null
  // When set, the administrator ends each token's session this long after
  // the token's first granted permission check: later checks answer error 30
  // and the token can open no further session.
  std::optional<std::chrono::milliseconds> sessionLifetime;
  // Seconds between the demo ports' scans written while the server runs
  // (see DemoScanner); 0 leaves the stored scans as they are.
  int32_t scanInterval = 0;
  // Seconds since 1970 for the sign-in throttle; the host's clock when empty.
  std::function<int64_t()> clock;
};

// The stand-in monitoring server without its transport: it owns the SQLite
// database, the sessions and the request workers, and hands out objects that
// implement the same interfaces the client calls. The gRPC service maps its
// object ids onto these objects; tests may call them directly.
class SimServer {
public:
  explicit SimServer(SimOptions options);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Opens the database (creating its tables when missing); false with a
  // reason when it cannot be used. Objects can be created only afterwards.
  bool open(std::string* error);

  // Whether the identity names a known user with the right password. The
  // domain must be "." (the server's own accounts). Wrong passwords for a
  // user or from a peer (an address) are throttled (LoginThrottle).
  bool authenticate(const ServerIdentity& identity, const std::string& peer = {});

  HRESULT createDataServer(std::shared_ptr<INembraDataServer>& out);
  HRESULT createThreshold(std::shared_ptr<INembraThreshold>& out);
  HRESULT createSecurity(std::shared_ptr<INembraSecurity>& out);
  HRESULT createClock(std::shared_ptr<INembraClock>& out);

  // Sessions currently open (for logs and tests).
  int openSessions() const;

  const SimOptions& options() const;

private:
  // Shared with the objects, which keep it alive while they exist; the
  // destructor stops its workers all the same.
  std::shared_ptr<SimContext> m_context;
  std::unique_ptr<SimAuthenticator> m_authenticator;  // made when the store opens
};
