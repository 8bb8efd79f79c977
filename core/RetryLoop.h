#pragma once

#include "server/HResult.h"

#include <chrono>
#include <climits>
#include <functional>
#include <optional>

// The one retry loop of the program: a server call is repeated while it
// answers `retryCode`, at most `maxCalls` times, with `wait` slept between
// calls; `keepGoing` is asked just before every call and ends the loop silently
// (nothing answered) when it says no.
struct RetryLoop {
  HRESULT retryCode = 0;
  int maxCalls = INT_MAX;
  std::chrono::milliseconds wait{0};
  std::function<void(std::chrono::milliseconds)> sleep;  // needed when wait > 0
  std::function<bool()> keepGoing;                        // empty: always

  [[nodiscard]] std::optional<HRESULT> run(const std::function<HRESULT()>& call) const {
    std::optional<HRESULT> answer;
    for (int calls = 0; calls < maxCalls; ++calls) {
      if (calls > 0 && wait.count() > 0) sleep(wait);
      if (keepGoing && !keepGoing()) return std::nullopt;
      answer = call();
      if (*answer != retryCode) return answer;
    }
    return answer;
  }
};
