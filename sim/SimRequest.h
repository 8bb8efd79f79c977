#pragma once

#include "server/HResult.h"
#include "sim/RequestPlan.h"
#include "sim/SimRecords.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

class SimDatabase;

// One request in process on a data object: its plan, the handles of its
// blocks, and the blocks as the worker finishes them. The object owns it;
// the worker's task holds only a weak reference, so a request that is ended
// or whose object is released is simply not finished.
class SimRequest {
public:
  SimRequest(RequestPlan plan, PortRecord port, int32_t firstHandle);

  const RequestPlan& plan() const { return m_plan; }
  const PortRecord& port() const { return m_port; }
  std::size_t blockCount() const { return m_plan.blockCount(); }
  int32_t handle(std::size_t index) const { return m_firstHandle + static_cast<int32_t>(index); }
  std::optional<std::size_t> indexOf(int32_t handle) const;

  void cancel() { m_cancelled = true; }
  bool cancelled() const { return m_cancelled; }

  // S_OK with the block copied into `out`; kNotReady (nothing written) while
  // the worker has not finished it; the failure code if the work failed.
  HRESULT copyBlock(std::size_t index, std::span<uint8_t> out) const;

  // The worker's part: reads the scans of the whole answer in one query and
  // publishes the blocks in answer order. Logs one line when done.
  static void compute(const std::weak_ptr<SimRequest>& request, const SimDatabase& db);

private:
  void publish(std::size_t index, std::vector<uint8_t> bytes);
  void fail(HRESULT code);

  const RequestPlan m_plan;
  const PortRecord m_port;
  const int32_t m_firstHandle;
  std::atomic<bool> m_cancelled{false};
  mutable std::mutex m_mutex;
  std::vector<std::vector<uint8_t>> m_blocks;  // empty = not computed yet
  HRESULT m_failure = hr::S_OK;
};
