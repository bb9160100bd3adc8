#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kova::test {

/// Writes `bytes` as they are into `folder/name` and returns the file's path.
std::filesystem::path WriteBytesFile(const std::filesystem::path& folder, std::string_view name,
                                     std::string_view bytes);

/// The bytes of a .lnc file holding `text` (4-byte length, then the zlib stream).
std::string PackedLinac(std::string_view text);

/// Packs `text` into the linac file `folder/name` and returns the file's path.
std::filesystem::path WriteLncFile(const std::filesystem::path& folder, std::string_view name,
                                   std::string_view text);

} // namespace kova::test
