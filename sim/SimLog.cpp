#include "sim/SimLog.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace SimLog {

namespace {
std::atomic<bool> g_enabled{true};
std::mutex g_mutex;
}  // namespace

void setEnabled(bool enabled) {
  g_enabled = enabled;
}

bool enabled() {
  return g_enabled;
}

void line(const std::string& text) {
  if (!g_enabled) return;
  const auto now = std::chrono::system_clock::now();
  const std::time_t secs = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  gmtime_r(&secs, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &tm);
  std::lock_guard lock(g_mutex);
  std::fprintf(stderr, "%s.%03dZ nembra-sim: %s\n", stamp, static_cast<int>(ms), text.c_str());
}

std::string code(int32_t result) {
  if (result >= 0 && result < 0x10000) return std::to_string(result);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(result));
  return text;
}

}  // namespace SimLog
