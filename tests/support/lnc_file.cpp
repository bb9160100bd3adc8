#include "support/lnc_file.h"

#include "core/linac/linac_file.h"

#include <fstream>
#include <stdexcept>

namespace kova::test {

std::filesystem::path WriteBytesFile(const std::filesystem::path& folder, std::string_view name,
                                     std::string_view bytes) {
    const std::filesystem::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path;
}

std::string PackedLinac(std::string_view text) {
    const Result<std::string> packed = PackLinacText(text);
    if (!packed) {
        throw std::runtime_error("cannot pack a linac text: " + packed.reason());
    }
    return *packed;
}

std::filesystem::path WriteLncFile(const std::filesystem::path& folder, std::string_view name,
                                   std::string_view text) {
    return WriteBytesFile(folder, name, PackedLinac(text));
}

} // namespace kova::test
