#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace ampelsim {

// Appends `value` as printf's "%0<width>d" would print it. The texts made
// once per simulated second (clock labels, actual-plan lines) go through
// here, so the common case of a small non-negative number skips printf.
inline void AppendZeroPadded(std::string& text, std::int64_t value, int width) {
  if (value < 0 || value > 999999999 || width > 9) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(value));
    text += buffer;
    return;
  }
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int pad = count; pad < width; ++pad) {
    text += '0';
  }
  while (count > 0) {
    text += digits[--count];
  }
}

}  // namespace ampelsim
