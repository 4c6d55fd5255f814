#include "data/text_format.h"

#include <cstdarg>
#include <cstdio>

namespace ampelsim {
namespace {

void AppendFormatList(std::string& line, const char* format, std::va_list arguments) {
  // Fields are short; the second pass is only for an unusually wide line.
  char buffer[256];
  std::va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, copy);
  va_end(copy);
  if (length < 0) {
    return;
  }
  const auto size = static_cast<std::size_t>(length);
  if (size < sizeof buffer) {
    line.append(buffer, size);
    return;
  }
  const std::size_t start = line.size();
  line.resize(start + size + 1);
  std::vsnprintf(line.data() + start, size + 1, format, arguments);
  line.resize(start + size);
}

}  // namespace

void AppendFormat(std::string& line, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  AppendFormatList(line, format, arguments);
  va_end(arguments);
}

std::string Format(const char* format, ...) {
  std::string line;
  std::va_list arguments;
  va_start(arguments, format);
  AppendFormatList(line, format, arguments);
  va_end(arguments);
  return line;
}

}  // namespace ampelsim
