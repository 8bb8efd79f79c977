#include "sim/SimSecurity.h"

#include "sim/SimContext.h"

SimSecurity::SimSecurity(std::shared_ptr<SimContext> context) : m_context(std::move(context)) {}

HRESULT SimSecurity::CheckPermission(int32_t token, int32_t permission, int32_t* granted, int32_t* error) {
  if (auto f = m_context->fault("CheckPermission")) return *f;
  if (!granted || !error) return hr::E_POINTER;
  const auto state = m_context->checkPermission(token, permission);
  *granted = state == SimContext::TokenState::Valid ? 1 : 0;
  *error = state == SimContext::TokenState::Expired ? hr::kCodeSessionExpired : 0;
  return hr::S_OK;
}

HRESULT SimSecurity::KeepAlive() {
  if (auto f = m_context->fault("KeepAlive")) return *f;
  return hr::S_OK;
}
