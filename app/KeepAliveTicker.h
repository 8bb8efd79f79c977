#pragma once

#include <atomic>
#include <functional>
#include <thread>

// Runs the session's keep-alive pings on a thread of their own, so a server
// that hangs can never hold the UI. A tick while the previous round still
// waits for the server is skipped: one round at a time is enough to keep the
// session, and the rounds never pile up.
class KeepAliveTicker {
public:
  KeepAliveTicker() = default;
  ~KeepAliveTicker();
  KeepAliveTicker(const KeepAliveTicker&) = delete;
  KeepAliveTicker& operator=(const KeepAliveTicker&) = delete;

  // Starts `pings` unless a round is running; true when it started.
  bool tick(std::function<void()> pings);
  bool busy() const { return m_busy.load(); }
  // Waits for a running round (its calls have their own deadlines).
  void wait();

private:
  std::atomic<bool> m_busy{false};
  std::thread m_thread;
};
