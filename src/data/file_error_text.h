#pragma once

#include <string>
#include <system_error>

namespace ampelsim {

// Why a file operation failed, in German for the common causes (a full disk,
// missing rights, a read-only file system); the system's text otherwise.
std::string FileErrorText(const std::error_code& error);

}  // namespace ampelsim
