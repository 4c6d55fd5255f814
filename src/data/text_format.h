#pragma once

#include <string>

namespace ampelsim {

// Appends printf-formatted text to a line; the compiler checks the format
// against the values. A value wider than its field widens the line, as the
// report formats are taken literally.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& line, const char* format, ...);

// The same, as a new text.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

}  // namespace ampelsim
