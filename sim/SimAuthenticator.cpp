#include "sim/SimAuthenticator.h"

#include "sim/PasswordHash.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <stdexcept>

SimAuthenticator::SimAuthenticator(const SimDatabase& db, Clock now) : m_db(db), m_now(std::move(now)) {
  if (RAND_bytes(m_key.data(), static_cast<int>(m_key.size())) != 1)
    throw std::runtime_error("no random bytes for the sign-in cache");
}

SimAuthenticator::Digest SimAuthenticator::digest(const std::string& user,
                                                  const std::string& password) const {
  // The user name's length first, so "ab"+"c" and "a"+"bc" differ.
  std::string message = std::to_string(user.size()) + ":" + user + password;
  Digest d{};
  unsigned int length = 0;
  HMAC(EVP_sha256(), m_key.data(), static_cast<int>(m_key.size()),
       reinterpret_cast<const unsigned char*>(message.data()), message.size(), d.data(), &length);
  OPENSSL_cleanse(message.data(), message.size());
  return d;
}

bool SimAuthenticator::remembered(const std::string& user, const std::string& stored, const Digest& d) {
  std::lock_guard lock(m_mutex);
  const auto it = m_verified.find(user);
  return it != m_verified.end() && it->second.stored == stored &&
         CRYPTO_memcmp(it->second.digest.data(), d.data(), d.size()) == 0;
}

const std::string& SimAuthenticator::decoyHash() {
  std::lock_guard lock(m_mutex);
  if (m_decoy.empty()) m_decoy = PasswordHash::make("");
  return m_decoy;
}

bool SimAuthenticator::authenticate(const ServerIdentity& identity, const std::string& peer) {
  if (identity.domain != "." || identity.user.empty()) return false;
  const int64_t now = m_now();
  if (!m_throttle.admits(identity.user, peer, now)) return false;
  const auto stored = m_db.passwordHash(identity.user);
  const Digest d = digest(identity.user, identity.password);
  if (stored && remembered(identity.user, *stored, d)) return true;
  const bool match = PasswordHash::verify(identity.password, stored ? *stored : decoyHash()) && stored;
  if (match) {
    std::lock_guard lock(m_mutex);
    m_verified[identity.user] = {*stored, d};
    return true;
  }
  if (m_throttle.failed(identity.user, peer, now))
    SimLog::line("repeated wrong passwords for user \"" + identity.user + "\" or from " + peer +
                 ": sign-ins refused unchecked for " + std::to_string(LoginThrottle::kLockSeconds) + " s");
  return false;
}
