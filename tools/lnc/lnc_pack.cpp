#include "lnc/lnc_pack.h"

#include "core/linac/linac_spec.h"

#include <zlib.h>

namespace kova {

Result<std::string> PackLinacText(std::string_view text) {
    if (text.size() > kMaxLinacTextBytes) {
        return Result<std::string>::Fail("the text is larger than the " +
                                         std::to_string(kMaxLinacTextBytes) +
                                         " bytes a linac file may hold");
    }
    uLongf capacity = compressBound(static_cast<uLong>(text.size()));
    std::string bytes(4 + capacity, '\0');
    const int status =
        compress(reinterpret_cast<Bytef*>(bytes.data() + 4), &capacity,
                 reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
    if (status != Z_OK) {
        return Result<std::string>::Fail("zlib cannot compress the text: " +
                                         std::string(zError(status)));
    }
    bytes.resize(4 + capacity);
    const auto size = static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
    }
    return bytes;
}

} // namespace kova
