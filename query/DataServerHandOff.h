#pragma once

#include <memory>
#include <mutex>

class INembraDataServer;

// The one slot through which the UI thread lends the session's data object to
// a fetch worker: filled before the worker starts, emptied by the worker, so
// exactly one request at a time holds it.
class DataServerHandOff {
public:
  void lend(std::shared_ptr<INembraDataServer> data) {
    std::lock_guard lock(m_mutex);
    m_slot = std::move(data);
  }
  std::shared_ptr<INembraDataServer> take() {
    std::lock_guard lock(m_mutex);
    return std::move(m_slot);
  }

private:
  std::mutex m_mutex;
  std::shared_ptr<INembraDataServer> m_slot;
};
