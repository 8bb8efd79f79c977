#include "sim/SimThreshold.h"

#include "server/BlockCodec.h"
#include "server/ServerIds.h"
#include "sim/SimContext.h"
#include "sim/SimDatabase.h"

#include <algorithm>
#include <cstring>

SimThreshold::SimThreshold(std::shared_ptr<SimContext> context) : m_context(std::move(context)) {}

HRESULT SimThreshold::GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1,
                                        int32_t* out2,
                                        std::span<uint8_t, Blocks::kThresholdTableSize> table) {
  if (auto f = m_context->fault("GetThresholdTable")) return *f;
  if (!count || !out1 || !out2) return hr::E_POINTER;
  switch (m_context->checkToken(token, ServerIds::kLaunchPermission)) {
    case SimContext::TokenState::Valid: break;
    case SimContext::TokenState::Expired: return hr::kCodeSessionExpired;
    case SimContext::TokenState::Unknown:
    case SimContext::TokenState::Lacking: return hr::kCodeNoPermission;
  }
  if (*count < 0) return hr::kInvalidArgument;
  const auto port = m_context->db().port(node);
  if (!port) return hr::kInvalidUid;

  const int written = std::min(*count, Blocks::kThresholdEntries);
  const std::vector<uint8_t> bytes = BlockCodec::encode(port->thresholdTable);
  std::memcpy(table.data(), bytes.data(), static_cast<size_t>(written) * Blocks::kThresholdEntrySize);
  *count = written;
  *out1 = static_cast<int32_t>(std::count_if(port->thresholdTable.begin(), port->thresholdTable.end(),
                                             [](const ThresholdEntry& e) { return e.inUse == 1; }));
  *out2 = port->levelUnit.code();
  return hr::S_OK;
}
