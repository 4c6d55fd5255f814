#pragma once

#include <string>

namespace ampelsim {

// Appends printf-formatted text to a report line. The formats of the reports
// are taken literally: a value wider than its field widens the line.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& line, const char* format, ...);

// The same, as a new line.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

}  // namespace ampelsim
