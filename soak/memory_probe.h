#pragma once

#include <cstddef>

namespace ampelsim::soak {

// Bytes the program holds on its heap right now: the sanitizer allocator's
// own count when it runs under AddressSanitizer, else the C library's.
std::size_t LiveHeapBytes();

// The most resident memory the process has had so far (VmHWM), in bytes.
std::size_t PeakResidentBytes();

}  // namespace ampelsim::soak
