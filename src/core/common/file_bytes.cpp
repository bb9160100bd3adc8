#include "core/common/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kova {
namespace {

FileBytes CannotOpen(const std::string& path, const std::string& why) {
    return FileBytes{FileBytes::Error::CannotOpen, "Cannot open file " + path + ": " + why, {}};
}

/// Why open(2) failed, in the words a user acts on.
std::string OpenErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "no such file";
    case ENOTDIR:
        return "a folder on its path is a file";
    case EACCES:
    case EPERM:
        return "no permission to read it";
    case ELOOP:
        return "its symbolic links form a loop";
    case EISDIR:
        return "it is a folder";
    default:
        return std::generic_category().message(error);
    }
}

/// Why a file of this type cannot be read as a file's content; empty for a regular file.
std::string TypeProblem(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (!S_ISREG(mode)) {
        return "it is not a regular file (a FIFO, a device or a socket)";
    }
    return "";
}

/// The whole content of the open `fd`, read up to one byte past `maxBytes` so that a file
/// growing while it is read is still refused as too large.
FileBytes ReadOpenFile(int fd, const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return CannotOpen(path, std::generic_category().message(errno));
    }
    if (const std::string problem = TypeProblem(info.st_mode); !problem.empty()) {
        return CannotOpen(path, problem);
    }
    const FileBytes tooLarge{FileBytes::Error::TooLarge,
                             "the file " + path + " is larger than " + std::to_string(maxBytes) +
                                 " bytes",
                             {}};
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return tooLarge;
    }
    FileBytes result;
    result.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == result.bytes.size()) {
            if (filled > maxBytes) {
                return tooLarge;
            }
            result.bytes.resize(std::min(maxBytes + 1, 2 * filled));
        }
        const ::ssize_t got =
            ::read(fd, result.bytes.data() + filled, result.bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FileBytes{FileBytes::Error::CannotOpen,
                             "Cannot read file " + path + ": " +
                                 std::generic_category().message(errno),
                             {}};
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    result.bytes.resize(filled);
    return result;
}

} // namespace

FileBytes ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    // A device is never opened (opening one can act on it); what the path names is checked
    // again on the open file, in case it was replaced in between.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (const std::string problem = TypeProblem(info.st_mode); !problem.empty()) {
            return CannotOpen(path, problem);
        }
    }
    // Non-blocking, so that a FIFO without a writer or a terminal is refused below instead of
    // holding the program; reads of a regular file are not affected by the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return CannotOpen(path, OpenErrorText(errno));
    }
    FileBytes result = ReadOpenFile(fd, path, maxBytes);
    ::close(fd);
    return result;
}

} // namespace kova
