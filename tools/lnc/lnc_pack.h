#pragma once

#include "core/common/result.h"

#include <string>
#include <string_view>

namespace kova {

/// The bytes of a .lnc file holding `text`: its length as a 4-byte little-endian integer,
/// then the text compressed as one zlib stream.
Result<std::string> PackLinacText(std::string_view text);

} // namespace kova
