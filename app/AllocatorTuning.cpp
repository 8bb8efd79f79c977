#include "app/AllocatorTuning.h"

#include <cstdlib>  // brings in the C library's own header that names glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void limitAllocatorArenas() {
#if defined(__GLIBC__)
  mallopt(M_ARENA_MAX, 1);
#endif
}
