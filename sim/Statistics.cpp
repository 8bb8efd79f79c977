#include "sim/Statistics.h"

#include <algorithm>

namespace Statistics {

Accumulator::Accumulator(int statistic, const Levels& levels, std::size_t width)
    : m_statistic(statistic), m_acc(width, 0.0), m_present(width, 0) {
  if (statistic >= kBeyond1 && statistic <= kBeyond4) {
    const int k = statistic - kBeyond1 + 1;
    m_limit = levels[static_cast<size_t>(k - 1)];
    m_above = k <= 2;
  }
}

namespace {

// The loop of every statistic, with the per-sample step inlined.
template <typename Step>
void addRow(std::span<const float> row, std::vector<double>& acc, std::vector<uint32_t>& present, Step step) {
  const std::size_t n = std::min(row.size(), acc.size());
  for (std::size_t c = 0; c < n; ++c) {
    const float v = row[c];
    if (isMissing(v)) continue;
    step(acc[c], v, present[c]++ == 0);
  }
}

}  // namespace

void Accumulator::add(std::span<const float> row) {
  ++m_scans;
  switch (m_statistic) {
    case kAverage: addRow(row, m_acc, m_present, [](double& a, float v, bool) { a += v; }); break;
    case kMaximum:
      addRow(row, m_acc, m_present,
             [](double& a, float v, bool first) { a = first ? v : std::max<double>(a, v); });
      break;
    case kMinimum:
      addRow(row, m_acc, m_present,
             [](double& a, float v, bool first) { a = first ? v : std::min<double>(a, v); });
      break;
    default:
      if (m_above)
        addRow(row, m_acc, m_present,
               [limit = m_limit](double& a, float v, bool) { a += v > limit ? 1.0 : 0.0; });
      else
        addRow(row, m_acc, m_present,
               [limit = m_limit](double& a, float v, bool) { a += v < limit ? 1.0 : 0.0; });
      break;
  }
}

double Accumulator::value(std::size_t column) const {
  if (column >= m_acc.size() || m_present[column] == 0 || !isValid(m_statistic)) return Blocks::NO_DATA;
  const double acc = m_acc[column];
  const double n = m_present[column];
  if (m_statistic == kAverage) return acc / n;
  if (m_statistic >= kBeyond1) return 100.0 * acc / n;
  return acc;
}

void Accumulator::values(std::span<double> out) const {
  const std::size_t n = std::min(out.size(), m_acc.size());
  for (std::size_t c = 0; c < n; ++c) out[c] = value(c);
}

double value(const ScanSet& scans, std::size_t first, std::size_t last, std::size_t column, int statistic,
             const Levels& levels) {
  Accumulator acc(statistic, levels, 1);
  last = std::min(last, scans.size());
  if (column >= scans.width) return Blocks::NO_DATA;
  for (std::size_t i = first; i < last; ++i) acc.add(scans.row(i).subspan(column, 1));
  return acc.value(0);
}

void profile(const ScanSet& scans, std::size_t first, std::size_t last, int statistic, const Levels& levels,
             std::span<double> out) {
  Accumulator acc(statistic, levels, scans.width);
  last = std::min(last, scans.size());
  for (std::size_t i = first; i < last; ++i) acc.add(scans.row(i));
  acc.values(out);
}

}  // namespace Statistics
