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

/// Reads a whole file, opened read-only. A file that cannot be opened or read (a folder
/// included) gives CannotOpen with "Cannot open file PATH"; one above `maxBytes` gives
/// TooLarge before anything is read.
FileBytes ReadFileBytes(const std::string& path, std::size_t maxBytes);

} // namespace kova
