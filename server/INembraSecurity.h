#pragma once

#include "server/HResult.h"

#include <cstdint>

// The security object.
class INembraSecurity {
public:
  virtual ~INembraSecurity() = default;

  // Slot 3: whether `token` grants `permission`; granted 1 and error 0 is a
  // grant, error 30 an expired session.
  virtual HRESULT CheckPermission(int32_t token, int32_t permission, int32_t* granted,
                                  int32_t* error) = 0;
  // The one call of the keep-alive interface reached from this object.
  virtual HRESULT KeepAlive() = 0;
};
