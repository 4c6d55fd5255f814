#pragma once

#include <string>
#include <string_view>

namespace ampelsim {

// A German UTF-8 text as the printed reports write it: umlauts and ß spelt
// out ("grün" -> "gruen"), any other character outside ASCII as "?".
std::string ReportSpelling(std::string_view utf8);

}  // namespace ampelsim
