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

} // namespace kova::test
