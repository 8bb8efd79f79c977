#pragma once

#include <cstdint>

// The platform's published names of result codes, generated from its error
// header by scripts/gen-error-names.py. Win32 system codes appear as the
// HRESULTs they map to (0x8007xxxx).
struct ErrorName {
  uint32_t code;
  const char* name;
  // The header's message text, or "" when it has none; never null.
  const char* description;
};

// The entry for `code`, or nullptr when the header does not name it.
const ErrorName* findErrorName(uint32_t code);
