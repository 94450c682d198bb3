#pragma once
#include <cstdio>
#include <cstdlib>

#include "zarv/zarv.h"

// Checks the result-buffer contract on every call: exactly one of data and
// error, and an error always a non-empty C string.
inline void check_contract(const ZarvBuffer& b) {
  const bool ok = b.error == nullptr && b.data != nullptr;
  const bool failed = b.error != nullptr && b.data == nullptr && b.len == 0 && b.error[0] != '\0';
  if (!ok && !failed) {
    std::fprintf(stderr, "result buffer contract broken\n");
    std::abort();
  }
}

inline void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
  }
}
