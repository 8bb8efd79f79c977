#pragma once

#include <atomic>
#include <cstdint>

// What a progress dialog and its worker share: each flag is written by one
// side and read by the other, without a lock. The worker's results are read
// only after `done` has been seen.
struct FetchFlags {
  std::atomic<int32_t> running{0};    // UI: 1 at start, 0 on Cancel; the worker stops when it reads 0
  std::atomic<int32_t> done{0};       // worker: 1 at its very end
  std::atomic<int32_t> dataOk{0};     // worker: 1 success, 0 anything else
  std::atomic<int32_t> cancelled{0};  // UI: 1 on Cancel (kept for the views)
  std::atomic<int32_t> percent{0};    // worker: 1 when the values are percentages of time
  // How far the fetch has come, for the progress bar: step k of total.
  std::atomic<int32_t> step{0};
  std::atomic<int32_t> steps{0};

  void reset() {
    running = 1;
    done = 0;
    dataOk = 0;
    cancelled = 0;
    percent = 0;
    step = 0;
    steps = 0;
  }
};
