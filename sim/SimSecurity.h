#pragma once

#include "server/INembraSecurity.h"

#include <memory>

class SimContext;

// Answers permission checks from the tokens table: an expired token (or one
// whose session the administrator ended) reports error 30, an unknown one or
// one without the permission is simply refused.
class SimSecurity final : public INembraSecurity {
public:
  explicit SimSecurity(std::shared_ptr<SimContext> context);

  HRESULT CheckPermission(int32_t token, int32_t permission, int32_t* granted, int32_t* error) override;
  HRESULT KeepAlive() override;

private:
  const std::shared_ptr<SimContext> m_context;
};
