#include "app/KeepAliveTicker.h"

KeepAliveTicker::~KeepAliveTicker() { wait(); }

bool KeepAliveTicker::tick(std::function<void()> pings) {
  if (m_busy.load()) return false;
  wait();  // the previous round has ended; collect its thread
  m_busy = true;
  m_thread = std::thread([this, pings = std::move(pings)] {
    try {
      pings();
    } catch (...) {
      // A keep-alive's failures stay silent: the next report's permission
      // check is where a lost session shows.
    }
    m_busy = false;
  });
  return true;
}

void KeepAliveTicker::wait() {
  if (m_thread.joinable()) m_thread.join();
}
