#include "query/ServerPoll.h"

std::optional<HRESULT> ServerPoll::until(HRESULT retryCode, std::chrono::milliseconds wait,
                                         const std::function<HRESULT()>& call) const {
  for (;;) {
    if (!running()) return std::nullopt;
    const HRESULT h = call();
    if (h != retryCode) return h;
    if (wait.count() > 0) m_pacing.wait(wait);
  }
}
