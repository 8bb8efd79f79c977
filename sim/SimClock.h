#pragma once

#include "server/INembraClock.h"

#include <memory>

class SimContext;

// The server's clock: the host's UTC time as a date value.
class SimClock final : public INembraClock {
public:
  explicit SimClock(std::shared_ptr<SimContext> context);

  HRESULT GetTime(double* time) override;

  // Days since 1899-12-30 for seconds since 1970 UTC.
  static double toDateValue(double unixSeconds);

private:
  const std::shared_ptr<SimContext> m_context;
};
