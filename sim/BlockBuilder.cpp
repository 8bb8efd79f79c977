#include "sim/BlockBuilder.h"

#include "server/BlockCodec.h"

#include <algorithm>
#include <numeric>

BlockBuilder::BlockBuilder(const RequestPlan& plan, const PortRecord& port) : m_plan(plan), m_port(port) {
  const std::size_t width = plan.kind == RequestKind::Frequency ? 1 : port.frequencies.size();
  m_periods.reserve(plan.periods.size());
  for (std::size_t i = 0; i < plan.periods.size(); ++i)
    m_periods.emplace_back(plan.statistic, port.thresholdLevels, width);
  m_ascending.resize(plan.periods.size());
  std::iota(m_ascending.begin(), m_ascending.end(), 0);
  std::stable_sort(m_ascending.begin(), m_ascending.end(), [&](std::size_t a, std::size_t b) {
    return plan.periods[a].start < plan.periods[b].start;
  });
}

// Periods of one plan have non-decreasing ends in start order, so those that
// ended before a scan can be skipped for good.
void BlockBuilder::add(int32_t time, std::span<const float> levels) {
  const auto& periods = m_plan.periods;
  while (m_next < m_ascending.size() && periods[m_ascending[m_next]].end <= time) ++m_next;
  if (m_plan.kind == RequestKind::Frequency)
    levels = m_plan.column < levels.size() ? levels.subspan(m_plan.column, 1) : std::span<const float>();
  for (std::size_t j = m_next; j < m_ascending.size(); ++j) {
    const std::size_t p = m_ascending[j];
    if (periods[p].start > time) break;
    if (time < periods[p].end) m_periods[p].add(levels);
  }
}

void BlockBuilder::addAll(const ScanSet& scans) {
  for (std::size_t i = 0; i < scans.size(); ++i) add(scans.times[i], scans.row(i));
}

uint16_t BlockBuilder::entryCount() const {
  return static_cast<uint16_t>(std::min<std::size_t>(m_port.frequencies.size(), Blocks::kMaxEntries));
}

void BlockBuilder::fillPlan(Blocks::Values& frequencies) const {
  std::copy_n(m_port.frequencies.begin(), entryCount(), frequencies.begin());
}

SummaryBlock BlockBuilder::summary() const {
  SummaryBlock b;
  b.labelTime = m_plan.labelTime;
  b.entryCount = entryCount();
  b.hasData = m_periods.front().hasScans() ? 1 : 0;
  m_periods.front().values(std::span<double>(b.values.data(), b.entryCount));
  fillPlan(b.frequencies);
  return b;
}

FrequencySeriesBlock BlockBuilder::frequency() const {
  FrequencySeriesBlock b;
  b.labelTime = m_plan.labelTime;
  b.entryCount = static_cast<uint16_t>(m_periods.size());
  for (std::size_t k = 0; k < m_periods.size(); ++k) {
    b.times[k] = static_cast<uint32_t>(m_plan.periods[k].start);
    b.values[k] = m_periods[k].value(0);
    if (m_periods[k].hasScans()) b.hasData = 1;
  }
  return b;
}

// What a ribbon block and a day block share: the period, the counts and a
// frequency profile of the plan. The client takes has-data from the first
// block alone, as the answer's: a newest period without a scan must not hide
// the older ones.
template <typename Block>
Block BlockBuilder::profile(std::size_t index) const {
  const Period& p = m_plan.periods[index];
  Block b;
  b.hasData = std::ranges::any_of(m_periods, &Statistics::Accumulator::hasScans) ? 1 : 0;
  b.blockCount = static_cast<uint16_t>(m_plan.periods.size());
  b.periodStart = static_cast<int32_t>(p.start);
  b.periodEnd = static_cast<int32_t>(p.end);
  b.entryCount = entryCount();
  m_periods[index].values(std::span<double>(b.values.data(), b.entryCount));
  fillPlan(b.frequencies);
  return b;
}

// The version fields name the monitoring point's software at the start and
// at the end of the period.
RibbonBlock BlockBuilder::ribbon(std::size_t index) const {
  RibbonBlock b = profile<RibbonBlock>(index);
  b.field24 = b.field26 = m_port.monitorVersion;
  return b;
}

DayBlock BlockBuilder::day(std::size_t index) const {
  DayBlock b = profile<DayBlock>(index);
  b.windowStart = m_plan.windowStart;
  b.windowEnd = m_plan.windowEnd;
  b.field28 = b.field30 = m_port.monitorVersion;
  return b;
}

std::vector<uint8_t> BlockBuilder::encoded(std::size_t index) const {
  switch (m_plan.kind) {
    case RequestKind::Summary: return BlockCodec::encode(summary());
    case RequestKind::Frequency: return BlockCodec::encode(frequency());
    case RequestKind::Ribbon: return BlockCodec::encode(ribbon(index));
    case RequestKind::Day: return BlockCodec::encode(day(index));
  }
  return {};
}
