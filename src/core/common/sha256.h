#pragma once

#include <string>
#include <string_view>

namespace kova {

/// SHA-256 (FIPS 180-4) of `bytes`, as 64 lower-case hexadecimal digits. It names the exact
/// content of a file (a linac file of a stored check), so a later change of it shows.
std::string Sha256Hex(std::string_view bytes);

} // namespace kova
