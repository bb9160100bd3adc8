#include "core/mlc/mlc_file.h"

#include "core/common/file_bytes.h"
#include "core/mlc/mlc_text_reader.h"

#include <filesystem>
#include <utility>

namespace kova {
namespace {

constexpr std::string_view kShaperExtension = ".mlc";
constexpr std::string_view kShaperWord = "File";
constexpr std::string_view kPlatoExtensionStart = ".s";
constexpr std::string_view kPlatoWord = "<PlatoRTSTaggedASCII>1.0";

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

Status NoFieldIn(const std::string& path) {
    return Status::Fail("No multileaf field found in " + path);
}

} // namespace

MLCFormat DetectMLCFormat(const std::string& path, std::string_view bytes) {
    const std::string extension = LowerAscii(std::filesystem::path(path).extension().string());
    const std::optional<std::string_view> firstWord = MLCTextReader(bytes).Word();
    if (!firstWord) {
        return MLCFormat::Unknown;
    }
    if (extension == kShaperExtension && *firstWord == kShaperWord) {
        return MLCFormat::Shaper;
    }
    if (extension.starts_with(kPlatoExtensionStart) && *firstWord == kPlatoWord) {
        return MLCFormat::Plato;
    }
    return MLCFormat::Unknown;
}

Result<MLCFieldList> ReadMLCBytes(const std::string& path, std::string_view bytes) {
    Result<std::vector<MLCField>> fields = NoFieldIn(path);
    const std::string fileName = std::filesystem::path(path).filename().string();
    switch (DetectMLCFormat(path, bytes)) {
    case MLCFormat::Shaper:
        fields = ReadShaperFields(bytes, fileName);
        break;
    case MLCFormat::Plato:
        fields = ReadPlatoFields(bytes, fileName);
        break;
    case MLCFormat::Unknown:
        break;
    }
    if (!fields) {
        return fields.status();
    }
    if (fields->empty()) {
        return NoFieldIn(path);
    }
    return MLCFieldList{fileName, std::move(fields.value())};
}

Result<MLCFieldList> ReadMLCFile(const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxMLCFileBytes);
    if (!file.ok()) {
        return Status::Fail(file.reason); // missing, a folder, too large...: said as such
    }
    return ReadMLCBytes(path, file.bytes);
}

} // namespace kova
