#include "query/GapFiller.h"

#include "query/NoData.h"
#include "server/Blocks.h"

#include <algorithm>
#include <cstddef>

namespace {

void interpolate(std::span<double> v, std::span<const double> f, std::size_t a, std::size_t b) {
  const double span = f[b] - f[a];
  for (std::size_t j = a + 1; j < b; ++j) {
    // Repeated frequencies leave no slope to follow; the left neighbour's
    // value keeps the hole finite.
    v[j] = span == 0.0 ? v[a] : v[a] + (f[j] - f[a]) * (v[b] - v[a]) / span;
  }
}

template <class Block>
void fillBlock(Block& b) {
  const std::size_t n = std::min<std::size_t>(b.entryCount, Blocks::kMaxEntries);
  GapFiller::fill(std::span<double>(b.values).first(n), std::span<const double>(b.frequencies).first(n));
}

}  // namespace

void GapFiller::fill(std::span<double> v, std::span<const double> f) {
  const std::size_t n = std::min(v.size(), f.size());
  std::size_t i = 0;
  for (; i < n && isNoData(v[i]); ++i) v[i] = Blocks::NO_DATA;
  if (i == n) return;

  std::size_t lastValid = i;
  for (++i; i < n; ++i) {
    if (isNoData(v[i])) continue;
    if (i > lastValid + 1) interpolate(v, f, lastValid, i);
    lastValid = i;
  }
  for (std::size_t j = lastValid + 1; j < n; ++j) v[j] = Blocks::NO_DATA;
}

void GapFiller::fill(RibbonBlock& block) {
  fillBlock(block);
}

void GapFiller::fill(DayBlock& block) {
  fillBlock(block);
}
