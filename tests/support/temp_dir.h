#pragma once

#include <filesystem>
#include <string_view>

namespace kova::test {

/// A fresh, empty folder under the system's temporary folder, removed with everything in it
/// when the object goes out of scope. Each object gets its own folder, so tests may run in
/// parallel.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    /// The path of `name` inside the folder (the file need not exist).
    std::filesystem::path File(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

/// A full disk without root or a mount: while the object lives, files of this process may
/// not grow past `bytes` (no limit for 0), and a write past that fails with EFBIG, as one
/// on a full disk fails with ENOSPC (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*m_handler)(int);
    unsigned long m_saved = 0;
};

} // namespace kova::test
