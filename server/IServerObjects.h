#pragma once

#include "server/HResult.h"

#include <memory>
#include <string>

class INembraClock;
class INembraDataServer;
class INembraSecurity;
class INembraThreshold;

// Who the client is on the server: sent with every call.
struct ServerIdentity {
  std::string user;
  std::string domain = ".";
  std::string password;
};

// Creates the server's objects on one host with one identity. Each creation
// answers the server's result code (RPC_E_SERVERCALL_RETRYLATER asks the
// caller to try again) and, on success, the object. Objects are released on
// the server when the last reference goes.
class IServerObjects {
public:
  virtual ~IServerObjects() = default;

  virtual HRESULT CreateDataServer(const std::string& classId,
                                   std::shared_ptr<INembraDataServer>& out) = 0;
  virtual HRESULT CreateThreshold(const std::string& classId,
                                  std::shared_ptr<INembraThreshold>& out) = 0;
  virtual HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>& out) = 0;
  virtual HRESULT CreateClock(std::shared_ptr<INembraClock>& out) = 0;
};
