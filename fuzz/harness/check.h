#pragma once

#include <cstdio>
#include <cstdlib>

namespace ampelsim::fuzz {

// A broken property is a finding just like a sanitizer report: say which one
// and abort, so that the fuzzer keeps the input and a replaying test fails.
inline void Require(bool condition, const char* property) {
  if (!condition) {
    std::fprintf(stderr, "ampelsim fuzz property broken: %s\n", property);
    std::abort();
  }
}

}  // namespace ampelsim::fuzz
