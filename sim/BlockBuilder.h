#pragma once

#include "server/Blocks.h"
#include "sim/RequestPlan.h"
#include "sim/SimRecords.h"
#include "sim/Statistics.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Builds the blocks of a planned request. Scans are fed once each, in
// ascending time, and land in every period that holds them; the blocks are
// then read out in answer order.
class BlockBuilder {
public:
  BlockBuilder(const RequestPlan& plan, const PortRecord& port);

  void add(int32_t time, std::span<const float> levels);
  void addAll(const ScanSet& scans);

  SummaryBlock summary() const;
  FrequencySeriesBlock frequency() const;
  RibbonBlock ribbon(std::size_t index) const;
  DayBlock day(std::size_t index) const;

  // Block `index` of the answer in its wire layout.
  std::vector<uint8_t> encoded(std::size_t index) const;

private:
  template <typename Block>
  Block profile(std::size_t index) const;
  uint16_t entryCount() const;
  void fillPlan(Blocks::Values& frequencies) const;

  const RequestPlan& m_plan;
  const PortRecord& m_port;
  std::vector<Statistics::Accumulator> m_periods;  // one per plan period
  std::vector<std::size_t> m_ascending;            // plan periods by start time
  std::size_t m_next = 0;                          // the first period of m_ascending a later scan may fall in
};
