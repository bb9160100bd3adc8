#include "core/common/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace kova {
namespace {

FileBytes CannotOpen(const std::string& path) {
    return FileBytes{FileBytes::Error::CannotOpen, "Cannot open file " + path, {}};
}

} // namespace

FileBytes ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return CannotOpen(path);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return CannotOpen(path);
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) {
        return CannotOpen(path);
    }
    if (static_cast<std::uintmax_t>(size) > maxBytes) {
        return FileBytes{FileBytes::Error::TooLarge,
                         "the file " + path + " is larger than " + std::to_string(maxBytes) +
                             " bytes",
                         {}};
    }
    file.seekg(0, std::ios::beg);
    FileBytes result;
    result.bytes.resize(static_cast<std::size_t>(size));
    if (!file.read(result.bytes.data(), size)) {
        return CannotOpen(path);
    }
    return result;
}

} // namespace kova
