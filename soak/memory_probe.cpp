#include "memory_probe.h"

#include <malloc.h>

#include <fstream>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AMPELSIM_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define AMPELSIM_ASAN 1
#endif

#ifdef AMPELSIM_ASAN
// From the sanitizer runtime (declared here: g++ ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace ampelsim::soak {

std::size_t LiveHeapBytes() {
#ifdef AMPELSIM_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

std::size_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::stoul(line.substr(6)) * 1024;  // given in B
    }
  }
  return 0;
}

}  // namespace ampelsim::soak
