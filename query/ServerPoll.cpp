#include "query/ServerPoll.h"

#include "core/RetryLoop.h"

std::optional<HRESULT> ServerPoll::until(HRESULT retryCode, std::chrono::milliseconds wait,
                                         const std::function<HRESULT()>& call) const {
  RetryLoop loop;
  loop.retryCode = retryCode;
  loop.wait = wait;
  loop.sleep = [this](std::chrono::milliseconds d) { m_pacing.wait(d); };
  loop.keepGoing = [this] { return running(); };
  return loop.run(call);
}
