#pragma once

#include "server/IServerObjects.h"
#include "sim/LoginThrottle.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

class SimDatabase;

// Checks the identity every call carries. The stored password hash is slow
// on purpose, and every call signs in, so a password that passed once is
// remembered as a keyed digest (the key lives only in this process) and
// later calls compare that, in constant time, instead of hashing again.
// Wrong passwords go through LoginThrottle.
class SimAuthenticator {
public:
  using Clock = std::function<int64_t()>;  // seconds since 1970
  SimAuthenticator(const SimDatabase& db, Clock now);

  // `peer` names the caller's address without its port.
  bool authenticate(const ServerIdentity& identity, const std::string& peer);

private:
  using Digest = std::array<unsigned char, 32>;
  Digest digest(const std::string& user, const std::string& password) const;
  bool remembered(const std::string& user, const std::string& stored, const Digest& d);
  // A hash no password matches, checked for unknown users so that the time
  // of a refusal does not tell which user names exist.
  const std::string& decoyHash();

  const SimDatabase& m_db;
  Clock m_now;
  LoginThrottle m_throttle;
  Digest m_key{};

  std::mutex m_mutex;
  struct Verified {
    std::string stored;  // the hash it was checked against: a changed password forgets it
    Digest digest;
  };
  std::unordered_map<std::string, Verified> m_verified;
  std::string m_decoy;
};
