#pragma once

#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "server/HResult.h"

#include <chrono>
#include <functional>
#include <optional>

// The one retry loop of the fetch workers: a call is repeated while the server
// answers the retry code, with the pacing's wait in between, and the user's
// Cancel is honoured before every call, so a server that stays busy never
// holds the worker longer than one wait.
class ServerPoll {
public:
  ServerPoll(const FetchFlags& flags, const FetchPacing& pacing) : m_flags(flags), m_pacing(pacing) {}

  bool running() const { return m_flags.running.load() != 0; }

  // The first answer other than `retryCode`, or nothing when the user
  // cancelled before a call. A zero wait repeats the call at once.
  [[nodiscard]] std::optional<HRESULT> until(HRESULT retryCode, std::chrono::milliseconds wait,
                               const std::function<HRESULT()>& call) const;

private:
  const FetchFlags& m_flags;
  const FetchPacing& m_pacing;
};
