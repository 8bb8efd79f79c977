#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// Slows password guessing down: once kMaxFailures wrong passwords for one
// user, or from one peer, fall within kWindowSeconds, that user (or peer) is
// refused without a check for kLockSeconds. A right password resets nothing,
// so a guesser cannot wipe its count by signing in as itself in between; the
// failures simply age out. Times are seconds from the server's clock.
class LoginThrottle {
public:
  static constexpr int kMaxFailures = 5;
  static constexpr int64_t kWindowSeconds = 60;
  static constexpr int64_t kLockSeconds = 30;

  // Whether a sign-in of `user` from `peer` may be checked now.
  bool admits(const std::string& user, const std::string& peer, int64_t now);
  // Counts a wrong password; true when it starts a lock of the user or the
  // peer (the one moment worth a log line).
  bool failed(const std::string& user, const std::string& peer, int64_t now);

private:
  struct Record {
    std::vector<int64_t> failures;  // within the window, oldest first
    int64_t lockedUntil = 0;
  };
  bool fail(const std::string& key, int64_t now);
  void forgetStale(int64_t now);

  std::mutex m_mutex;
  std::unordered_map<std::string, Record> m_records;  // "u:" user, "p:" peer
};
