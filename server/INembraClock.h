#pragma once

#include "server/HResult.h"

// The server clock object.
class INembraClock {
public:
  virtual ~INembraClock() = default;

  // Slot 3: the server's current time as a date value (days since
  // 1899-12-30, UTC).
  virtual HRESULT GetTime(double* time) = 0;
};
