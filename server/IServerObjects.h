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

// Why a secure connection was ended before any identity went out.
enum class CertificateProblem {
  None,
  NoTls,             // the server did not complete a TLS handshake
  UnknownAuthority,  // no trusted authority signed the certificate
  WrongName,         // the certificate is made out to another host
  Expired,           // outside its validity (expired or not yet valid)
  CaFileUnreadable,  // the CA file named in the settings could not be used
  Other,
};

struct CertificateCheck {
  CertificateProblem problem = CertificateProblem::None;
  std::string detail;  // the verifier's own words, for the message
};

// Creates the server's objects on one host with one identity. Each creation
// answers the server's result code (RPC_E_SERVERCALL_RETRYLATER asks the
// caller to try again) and, on success, the object. Objects are released on
// the server when the last reference goes.
class IServerObjects {
public:
  virtual ~IServerObjects() = default;

  virtual HRESULT CreateDataServer(const std::string& classId, std::shared_ptr<INembraDataServer>& out) = 0;
  virtual HRESULT CreateThreshold(const std::string& classId, std::shared_ptr<INembraThreshold>& out) = 0;
  virtual HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>& out) = 0;
  virtual HRESULT CreateClock(std::shared_ptr<INembraClock>& out) = 0;
  // Why the last creation failed with a certificate problem, if it did.
  virtual CertificateCheck certificateCheck() const { return {}; }
};
