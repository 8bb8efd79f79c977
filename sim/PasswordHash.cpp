#include "sim/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

namespace PasswordHash {
namespace {

constexpr const char* kScheme = "pbkdf2-sha256";
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kKeyBytes = 32;
// Bounds on what a stored hash may ask for, so a damaged row cannot stall a
// check for minutes.
constexpr int kMinIterations = 1000;
constexpr int kMaxIterations = 10000000;

std::string hex(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::optional<std::vector<unsigned char>> unhex(std::string_view text) {
  if (text.empty() || text.size() % 2 != 0) return std::nullopt;
  std::vector<unsigned char> out(text.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto [ptr, ec] = std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, out[i], 16);
    if (ec != std::errc() || ptr != text.data() + 2 * i + 2) return std::nullopt;
  }
  return out;
}

std::vector<unsigned char> derive(const std::string& password, const std::vector<unsigned char>& salt,
                                  int iterations, std::size_t length) {
  std::vector<unsigned char> key(length);
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                        static_cast<int>(salt.size()), iterations, EVP_sha256(), static_cast<int>(key.size()),
                        key.data()) != 1)
    key.clear();
  return key;
}

struct Parsed {
  int iterations = 0;
  std::vector<unsigned char> salt, key;
};

std::optional<Parsed> parse(const std::string& stored) {
  const std::string prefix = std::string(kScheme) + "$";
  if (stored.rfind(prefix, 0) != 0) return std::nullopt;
  const std::string_view rest = std::string_view(stored).substr(prefix.size());
  const auto d1 = rest.find('$');
  const auto d2 = d1 == std::string_view::npos ? d1 : rest.find('$', d1 + 1);
  if (d2 == std::string_view::npos) return std::nullopt;
  Parsed p;
  const auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + d1, p.iterations);
  if (ec != std::errc() || ptr != rest.data() + d1 || p.iterations < kMinIterations ||
      p.iterations > kMaxIterations)
    return std::nullopt;
  auto salt = unhex(rest.substr(d1 + 1, d2 - d1 - 1));
  auto key = unhex(rest.substr(d2 + 1));
  if (!salt || !key) return std::nullopt;
  p.salt = std::move(*salt);
  p.key = std::move(*key);
  return p;
}

}  // namespace

std::string make(const std::string& password, int iterations) {
  std::vector<unsigned char> salt(kSaltBytes);
  if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1) return {};
  const auto key = derive(password, salt, iterations, kKeyBytes);
  if (key.empty()) return {};
  return std::string(kScheme) + "$" + std::to_string(iterations) + "$" + hex(salt) + "$" + hex(key);
}

bool isHash(const std::string& stored) {
  return parse(stored).has_value();
}

bool verify(const std::string& password, const std::string& stored) {
  const auto p = parse(stored);
  if (!p) return false;
  const auto key = derive(password, p->salt, p->iterations, p->key.size());
  return !key.empty() && key.size() == p->key.size() &&
         CRYPTO_memcmp(key.data(), p->key.data(), key.size()) == 0;
}

}  // namespace PasswordHash
