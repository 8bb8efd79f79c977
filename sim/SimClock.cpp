#include "sim/SimClock.h"

#include "sim/SimContext.h"

#include <chrono>

SimClock::SimClock(std::shared_ptr<SimContext> context) : m_context(std::move(context)) {}

double SimClock::toDateValue(double unixSeconds) {
  constexpr double kUnixEpochAsDate = 25569.0;  // 1970-01-01 counted from 1899-12-30
  return kUnixEpochAsDate + unixSeconds / 86400.0;
}

HRESULT SimClock::GetTime(double* time) {
  if (auto f = m_context->fault("GetTime")) return *f;
  if (!time) return hr::E_POINTER;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  *time = toDateValue(std::chrono::duration<double>(now).count());
  return hr::S_OK;
}
