#include "core/Clock.h"

#include <mutex>

namespace {
std::mutex g_mutex;
std::optional<QDateTime> g_fixed;
}  // namespace

QDateTime Clock::nowUtc() {
  {
    std::lock_guard lock(g_mutex);
    if (g_fixed) return *g_fixed;
  }
  return QDateTime::currentDateTimeUtc();
}

void Clock::setFixed(std::optional<QDateTime> utc) {
  std::lock_guard lock(g_mutex);
  g_fixed = utc ? std::optional<QDateTime>(utc->toUTC()) : std::nullopt;
}
