#pragma once

#include "server/INembraThreshold.h"

#include <memory>

class SimContext;

// Hands out a port's threshold table. The first further output answers the
// entries in use, the second the port's level unit.
class SimThreshold final : public INembraThreshold {
public:
  explicit SimThreshold(std::shared_ptr<SimContext> context);

  HRESULT GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1, int32_t* out2,
                            std::span<uint8_t, Blocks::kThresholdTableSize> table) override;

private:
  const std::shared_ptr<SimContext> m_context;
};
