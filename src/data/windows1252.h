#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ampelsim {

// Texts of the data set and of the reports are Windows-1252 bytes. These two
// functions are the one place where they meet UTF-8. The five bytes that
// Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 controls of
// the same value, so every byte string survives the round trip.
std::string Windows1252ToUtf8(std::string_view windows1252);

// Empty when the text holds invalid UTF-8 or a character Windows-1252 lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// For texts that must be shown whatever they hold (a path in a report head):
// characters Windows-1252 lacks, and broken UTF-8, become "?".
std::string Utf8ToWindows1252Lossy(std::string_view utf8);

}  // namespace ampelsim
