#pragma once

#include "core/common/result.h"

#include <cstddef>
#include <string>

namespace kova {

/// The content of a whole file, or why it could not be had.
struct FileBytes {
    enum class Error { None, CannotOpen, TooLarge };

    Error error = Error::None;
    std::string reason; ///< empty when error is None
    std::string bytes;

    bool ok() const { return error == Error::None; }
};

/// Reads a whole regular file, opened read-only. A file that cannot be opened or read gives
/// CannotOpen with "Cannot open file PATH: WHY", WHY one of "no such file", "no permission to
/// read it", "its symbolic links form a loop", "it is a folder", "it is not a regular file (a
/// FIFO, a device or a socket)" (never waited on) or the system's reason. One above
/// `maxBytes` gives TooLarge ("the file PATH is larger than N bytes"), checked before
/// reading and again while reading.
FileBytes ReadFileBytes(const std::string& path, std::size_t maxBytes);

} // namespace kova
