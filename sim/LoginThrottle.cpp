#include "sim/LoginThrottle.h"

#include <algorithm>

namespace {

// Records of users and peers kept before the stale ones are dropped: a
// guesser trying many names must not grow the table without bound.
constexpr std::size_t kPruneAbove = 4096;

}  // namespace

bool LoginThrottle::admits(const std::string& user, const std::string& peer, int64_t now) {
  std::lock_guard lock(m_mutex);
  for (const std::string& key : {"u:" + user, "p:" + peer}) {
    const auto it = m_records.find(key);
    if (it != m_records.end() && now < it->second.lockedUntil) return false;
  }
  return true;
}

bool LoginThrottle::failed(const std::string& user, const std::string& peer, int64_t now) {
  std::lock_guard lock(m_mutex);
  if (m_records.size() > kPruneAbove) forgetStale(now);
  const bool userLocked = fail("u:" + user, now);
  const bool peerLocked = fail("p:" + peer, now);
  return userLocked || peerLocked;
}

bool LoginThrottle::fail(const std::string& key, int64_t now) {
  Record& r = m_records[key];
  std::erase_if(r.failures, [now](int64_t t) { return t <= now - kWindowSeconds; });
  r.failures.push_back(now);
  if (static_cast<int>(r.failures.size()) < kMaxFailures || now < r.lockedUntil) return false;
  r.lockedUntil = now + kLockSeconds;
  r.failures.clear();
  return true;
}

void LoginThrottle::forgetStale(int64_t now) {
  std::erase_if(m_records, [now](const auto& entry) {
    const Record& r = entry.second;
    return now >= r.lockedUntil && (r.failures.empty() || r.failures.back() <= now - kWindowSeconds);
  });
}
