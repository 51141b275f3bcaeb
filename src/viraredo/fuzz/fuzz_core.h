#pragma once
// Every fuzzer runs inside one core session with the SDK's own allocator.
#include <cstdlib>

#include "bdCore/bdCore.h"

inline void fuzzStartCore() {
  static bool started = false;
  if (!started) {
    bdCore::init(true);
    started = true;
  }
}

#define FUZZ_CHECK(condition)       \
  do {                              \
    if (!(condition)) std::abort(); \
  } while (0)
