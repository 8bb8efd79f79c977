#include "server/BlockCodec.h"

#include <benchmark/benchmark.h>

#include <type_traits>
#include <vector>

namespace {

template <typename Block>
Block filled() {
  Block b{};
  b.hasData = 1;
  b.entryCount = Blocks::kMaxEntries;
  for (std::size_t i = 0; i < b.values.size(); ++i) b.values[i] = -40.0 + 0.125 * static_cast<double>(i);
  return b;
}

ThresholdTable filledTable() {
  ThresholdTable t{};
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i].inUse = 1;
    t[i].frequency = 5.0 + static_cast<double>(i);
    t[i].limitSet.fill(1);
    t[i].limitLevel.fill(-10.0);
  }
  return t;
}

template <typename Block>
Block sample() {
  if constexpr (std::is_same_v<Block, ThresholdTable>) {
    return filledTable();
  } else {
    return filled<Block>();
  }
}

// Into a reused buffer, as the fetch workers and the stand-in server do.
template <typename Block>
void BM_EncodeInto(benchmark::State& state) {
  const Block block = sample<Block>();
  std::vector<uint8_t> buffer = BlockCodec::encode(block);
  for (auto _ : state) {
    benchmark::DoNotOptimize(BlockCodec::encodeInto(block, buffer));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}

template <typename Block>
void BM_Decode(benchmark::State& state) {
  const std::vector<uint8_t> bytes = BlockCodec::encode(sample<Block>());
  Block out{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(BlockCodec::decode(bytes, out));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

BENCHMARK_TEMPLATE(BM_EncodeInto, RibbonBlock);
BENCHMARK_TEMPLATE(BM_EncodeInto, DayBlock);
BENCHMARK_TEMPLATE(BM_EncodeInto, FrequencySeriesBlock);
BENCHMARK_TEMPLATE(BM_EncodeInto, SummaryBlock);
BENCHMARK_TEMPLATE(BM_EncodeInto, ThresholdTable);
BENCHMARK_TEMPLATE(BM_Decode, RibbonBlock);
BENCHMARK_TEMPLATE(BM_Decode, DayBlock);
BENCHMARK_TEMPLATE(BM_Decode, FrequencySeriesBlock);
BENCHMARK_TEMPLATE(BM_Decode, SummaryBlock);
BENCHMARK_TEMPLATE(BM_Decode, ThresholdTable);
