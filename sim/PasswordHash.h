#pragma once

#include <string>

// Passwords at rest: PBKDF2-HMAC-SHA256 with a random salt per password,
// stored as "pbkdf2-sha256$ITERATIONS$SALT$KEY" (salt and key in hex), so a
// stolen database gives no password without the slow work per guess.
namespace PasswordHash {

// The work factor of new hashes; a stored hash keeps the one it was made with.
constexpr int kIterations = 600000;

std::string make(const std::string& password, int iterations = kIterations);
// Whether a stored text is a hash of make()'s form (not a plain-text
// password an older database kept).
bool isHash(const std::string& stored);
// Whether `password` hashes to `stored`, compared in constant time; false
// for anything that is not a well-formed hash.
bool verify(const std::string& password, const std::string& stored);

}  // namespace PasswordHash
