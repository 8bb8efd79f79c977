#include "sim/SimRequest.h"

#include "sim/BlockBuilder.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"

#include <chrono>
#include <cstring>

SimRequest::SimRequest(RequestPlan plan, PortRecord port, int32_t firstHandle)
    : m_plan(std::move(plan)),
      m_port(std::move(port)),
      m_firstHandle(firstHandle),
      m_blocks(m_plan.blockCount()) {}

std::optional<std::size_t> SimRequest::indexOf(int32_t handle) const {
  const int64_t index = int64_t{handle} - m_firstHandle;
  if (index < 0 || index >= static_cast<int64_t>(blockCount())) return std::nullopt;
  return static_cast<std::size_t>(index);
}

HRESULT SimRequest::copyBlock(std::size_t index, std::span<uint8_t> out) const {
  std::lock_guard lock(m_mutex);
  if (m_failure != hr::S_OK) return m_failure;
  const std::vector<uint8_t>& block = m_blocks.at(index);
  if (block.empty()) return hr::kNotReady;
  if (out.size() < block.size()) return hr::E_INVALIDARG;
  std::memcpy(out.data(), block.data(), block.size());
  return hr::S_OK;
}

void SimRequest::publish(std::size_t index, std::vector<uint8_t> bytes) {
  std::lock_guard lock(m_mutex);
  m_blocks.at(index) = std::move(bytes);
}

void SimRequest::fail(HRESULT code) {
  std::lock_guard lock(m_mutex);
  m_failure = code;
}

void SimRequest::compute(const std::weak_ptr<SimRequest>& weak, const SimDatabase& db) {
  const std::shared_ptr<SimRequest> self = weak.lock();
  if (!self || self->cancelled()) return;
  const auto began = std::chrono::steady_clock::now();
  const RequestPlan& plan = self->m_plan;
  BlockBuilder builder(plan, self->m_port);
  std::size_t scans = 0;
  std::string error;
  const bool read = db.forEachScan(
      self->m_port.node, plan.scanSpan.start, plan.scanSpan.end, self->m_port.frequencies.size(),
      [&](int32_t time, std::span<const float> levels) {
        builder.add(time, levels);
        ++scans;
      },
      &error);
  if (!read) {
    self->fail(hr::kDatabaseException);
    SimLog::line("node " + std::to_string(self->m_port.node) + ": " + toString(plan.kind) +
                 " request failed: " + error);
    return;
  }
  for (std::size_t i = 0; i < self->blockCount(); ++i) {
    if (self->cancelled()) return;
    self->publish(i, builder.encoded(i));
  }
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began).count();
  SimLog::line("node " + std::to_string(self->m_port.node) + ": " + toString(plan.kind) + " request [" +
               std::to_string(plan.scanSpan.start) + ", " + std::to_string(plan.scanSpan.end) +
               ") statistic " + std::to_string(plan.statistic) + ", " + std::to_string(self->blockCount()) +
               " block(s) from " + std::to_string(scans) + " scans in " + std::to_string(ms) + " ms");
}
