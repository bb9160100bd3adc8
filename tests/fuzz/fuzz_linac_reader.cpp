// Feeds arbitrary bytes to the linac reader, both as a whole .lnc file (container and text)
// and directly as a decompressed text, which reaches the token reader without zlib first.
// Any crash, leak, sanitizer report or broken promise (a rejected text changing the linac)
// is a finding.

#include "core/linac/energies_tree.h"
#include "core/linac/linac_spec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void ReadText(std::string_view text) {
    kova::TLinacSpec linac;
    const kova::LoadResult result = kova::ReadLinacText(text, linac);
    if (!result.accepted()) {
        // A rejected text must leave the linac as it was constructed.
        if (result.reason.empty() || !linac.gEnergies.empty() || !linac.eEnergies.empty() ||
            linac.Name != "n/a" || linac.SAD != 100) {
            std::abort();
        }
        return;
    }
    // What the window would show must be buildable from anything accepted.
    const std::vector<kova::EnergiesTreeNode> tree = kova::BuildEnergiesTree(linac);
    if (tree.size() != linac.gEnergies.size() + linac.eEnergies.size()) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kova::Result<std::string> text = kova::UnpackLinacFile(bytes);
    if (text) {
        ReadText(*text);
    }
    ReadText(bytes);
    return 0;
}
