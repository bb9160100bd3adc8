#include "core/common/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kova {
namespace {

FileBytes CannotOpen(const std::string& path) {
    return FileBytes{FileBytes::Error::CannotOpen, "Cannot open file " + path, {}};
}

/// Creates a temporary file next to `path` that did not exist before, and names it in
/// `temporary`; null when none can be made.
std::FILE* CreateTemporaryNextTo(const std::string& path, std::string& temporary) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = path + ".tmp" + (attempt == 0 ? std::string() : std::to_string(attempt));
        // "x": fails when the file exists, so no file of the user's is ever overwritten.
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) {
            return file;
        }
    }
    return nullptr;
}

/// Moves the finished temporary file to `path` without replacing a file there: a hard link
/// fails when `path` exists; where links are not supported, the check comes before a rename.
std::error_code PlaceWithoutReplacing(const std::string& temporary, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code code;
    fs::create_hard_link(temporary, path, code);
    if (!code) {
        fs::remove(temporary, code);
        return {};
    }
    if (code == std::errc::file_exists || fs::exists(path)) {
        return std::make_error_code(std::errc::file_exists);
    }
    code.clear();
    fs::rename(temporary, path, code);
    return code;
}

} // namespace

Status WriteFileAtomically(const std::string& path, std::string_view bytes, bool replaceExisting) {
    namespace fs = std::filesystem;
    std::error_code code;
    if (!replaceExisting && fs::exists(path, code)) {
        return Status::Fail("The file " + path + " already exists");
    }
    std::string temporary;
    std::FILE* file = CreateTemporaryNextTo(path, temporary);
    if (file == nullptr) {
        return Status::Fail("Cannot write file " + path);
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written) {
        if (replaceExisting) {
            fs::rename(temporary, path, code);
        } else {
            code = PlaceWithoutReplacing(temporary, path);
        }
    }
    if (written && !code) {
        return Status::Ok();
    }
    std::error_code ignored;
    fs::remove(temporary, ignored);
    if (written && code == std::errc::file_exists) {
        return Status::Fail("The file " + path + " already exists");
    }
    return Status::Fail("Cannot write file " + path);
}

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
