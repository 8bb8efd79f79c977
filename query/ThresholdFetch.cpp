#include "query/ThresholdFetch.h"

#include "server/BlockCodec.h"
#include "server/INembraThreshold.h"

#include <algorithm>
#include <memory>
#include <vector>

HRESULT ThresholdFetch::run(IServerObjects& objects, const std::string& dataClassId, int32_t node,
                            int32_t token, ThresholdTable& out, int* entries) const {
  std::shared_ptr<INembraThreshold> threshold;
  const HRESULT created = objects.CreateThreshold(dataClassId, threshold);
  if (created != hr::S_OK) return created;
  if (!threshold) return hr::E_POINTER;

  int32_t count = Blocks::kThresholdEntries;
  int32_t out1 = 0;
  int32_t out2 = 0;
  std::vector<uint8_t> buffer(Blocks::kThresholdTableSize);
  const HRESULT h = threshold->GetThresholdTable(
      node, token, &count, &out1, &out2,
      std::span<uint8_t, Blocks::kThresholdTableSize>(buffer.data(), buffer.size()));
  threshold.reset();
  if (h != hr::S_OK) return h;

  const int used = std::clamp<int32_t>(count, 0, Blocks::kThresholdEntries);
  // Entries past the count must not keep an earlier port's limits.
  auto table = std::make_unique<ThresholdTable>();
  if (BlockCodec::decode(buffer, *table, used) != BlockCodec::Status::Ok) return hr::RPC_S_PROTOCOL_ERROR;
  out = *table;
  if (entries) *entries = used;
  return hr::S_OK;
}
