#pragma once

#include <chrono>
#include <functional>

// The waits between polls of the server. Real fetches sleep; tests replace
// the sleep so that retry loops run at once.
struct FetchPacing {
  std::chrono::milliseconds firstPoll{500};  // start call and first read of types 2 to 5
  std::chrono::milliseconds laterPoll{100};  // every other retry
  std::function<void(std::chrono::milliseconds)> sleep;  // empty: std::this_thread::sleep_for

  void wait(std::chrono::milliseconds d) const;
};
