#pragma once

// Aborts with a message, so that a broken invariant is a crash libFuzzer
// records with its input.
#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      __builtin_printf("invariant broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      __builtin_abort();                                                                  \
    }                                                                                     \
  } while (0)
