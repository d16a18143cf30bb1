#pragma once
// The fuzz targets' invariant check: it holds in every build type (assert would vanish under
// NDEBUG) and stops the run with the failed condition, so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#define QEL_FUZZ_CHECK(cond)                                                 \
  do {                                                                       \
    if (!(cond)) {                                                           \
      std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
      std::abort();                                                          \
    }                                                                        \
  } while (0)
