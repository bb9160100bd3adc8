#include "core/linac/linac_file.h"

#include "core/common/file_write.h"
#include "core/linac/record_form.h"

#include <filesystem>
#include <sstream>
#include <utility>
#include <vector>
#include <zlib.h>

namespace kova {
namespace {

std::string WrittenText(const TLinacSpec& linac) {
    std::ostringstream out;
    linac.WriteTo(out);
    return out.str();
}

/// The first text of the linac that a linac file cannot keep as it is, with what it names;
/// empty when every one can be written.
std::string UnwritableText(const TLinacSpec& linac) {
    std::vector<std::pair<std::string, const std::string*>> texts = {
        {"linac name", &linac.Name},
        {"brand", &linac.Brand},
        {"model", &linac.Model},
        {"serial number", &linac.SerialNumber},
        {"width label", &linac.WidthChar},
        {"height label", &linac.HeightChar},
        {"left label", &linac.LeftChar},
        {"right label", &linac.RightChar},
        {"bottom label", &linac.BottomChar},
        {"top label", &linac.TopChar}};
    const auto add = [&texts](const auto& list, const char* what) {
        for (const auto& item : list) {
            texts.emplace_back(what, &item->Name);
        }
    };
    add(linac.gEnergies, "energy name");
    add(linac.eEnergies, "energy name");
    for (const auto& energy : linac.gEnergies) {
        add(energy->Wedges, "wedge name");
        add(energy->Trays, "tray name");
        add(energy->MultileafFactors, "multileaf factor name");
        add(energy->Shields, "shield name");
    }
    for (const auto& energy : linac.eEnergies) {
        add(energy->Applicators, "applicator name");
    }
    for (const auto& [what, text] : texts) {
        if (const std::string problem = LinacTextProblem(*text); !problem.empty()) {
            return "the " + what + " '" + *text + "' " + problem;
        }
    }
    return "";
}

/// The linac's text, once it is known to read back to the same linac.
Result<std::string> CheckedText(const TLinacSpec& linac) {
    if (const std::string problem = UnwritableText(linac); !problem.empty()) {
        return Result<std::string>::Fail("The linac cannot be written as a linac file: " + problem);
    }
    std::string text = WrittenText(linac);
    TLinacSpec reread;
    const LoadResult read = ReadLinacText(text, reread);
    if (!read.accepted()) {
        return Result<std::string>::Fail("The linac cannot be written as a linac file: " +
                                         read.reason);
    }
    if (WrittenText(reread) != text) {
        return Result<std::string>::Fail(
            "The linac cannot be written as a linac file: a text of it would not read back "
            "the same");
    }
    return text;
}

} // namespace

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

bool IsInFolder(const std::string& path, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::path file = fs::weakly_canonical(fs::absolute(path, code), code);
    const fs::path dir = fs::weakly_canonical(fs::absolute(folder, code), code);
    return !code && file.parent_path() == dir;
}

Status SaveLinacFile(const TLinacSpec& linac, const std::string& path,
                     const LinacSaveOptions& options) {
    if (path.empty()) {
        return Status::Fail("No file name was given");
    }
    if (!options.protectedFolder.empty() && IsInFolder(path, options.protectedFolder)) {
        return Status::Fail(path + " is in the program's linac folder " + options.protectedFolder +
                            ", which is never written: choose another folder");
    }
    const Result<std::string> text = CheckedText(linac);
    if (!text) {
        return text.status();
    }
    const Result<std::string> packed = PackLinacText(*text);
    if (!packed) {
        return packed.status();
    }
    return WriteFileAtomically(path, *packed, options.replaceExisting);
}

} // namespace kova
