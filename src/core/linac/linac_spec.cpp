#include "core/linac/linac_spec.h"

#include "core/common/file_bytes.h"
#include "core/common/sha256.h"
#include "core/linac/token_reader.h"
#include "core/text/number_text.h"

#include <ostream>
#include <zlib.h>

namespace kova {
namespace {

LoadResult Rejected(std::string reason) {
    return LoadResult{LoadOutcome::NotALinacFile, std::move(reason)};
}

std::string Num(double value) {
    return FormatGeneral(value);
}

/// Reads the header and the energies after the format number into `linac`.
bool ReadBody(TokenReader& in, TLinacSpec& linac) {
    {
        TokenReader::Context context(in, "the linac header");
        if (!in.TextWord(linac.Name, "Name") || !in.TextWord(linac.Brand, "Brand") ||
            !in.TextWord(linac.Model, "Model") ||
            !in.TextWord(linac.SerialNumber, "SerialNumber") || !in.Real(linac.SAD, "SAD") ||
            !in.TextWord(linac.WidthChar, "WidthChar") ||
            !in.TextWord(linac.HeightChar, "HeightChar") ||
            !in.TextWord(linac.LeftChar, "LeftChar") ||
            !in.TextWord(linac.RightChar, "RightChar") ||
            !in.TextWord(linac.BottomChar, "BottomChar") ||
            !in.TextWord(linac.TopChar, "TopChar") ||
            !in.Real(linac.isAsymmetricFieldsOnWidth, "isAsymmetricFieldsOnWidth") ||
            !in.Real(linac.isAsymmetricFieldsOnHeight, "isAsymmetricFieldsOnHeight")) {
            return false;
        }
    }
    return ReadEntries(in, linac.gEnergies, "photon energy count", "photon energy") &&
           ReadEntries(in, linac.eEnergies, "electron energy count", "electron energy");
}

} // namespace

Result<std::string> UnpackLinacFile(std::string_view fileBytes) {
    if (fileBytes.size() < 4) {
        return Result<std::string>::Fail("the file is shorter than its 4-byte length header");
    }
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(fileBytes[i]));
    };
    const std::uint32_t announced = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    if (announced > kMaxLinacTextBytes) {
        return Result<std::string>::Fail("the announced text length " + std::to_string(announced) +
                                         " bytes is above the limit of " +
                                         std::to_string(kMaxLinacTextBytes) + " bytes (" +
                                         std::to_string(kMaxLinacTextBytes >> 20) + " MiB)");
    }
    const std::string_view compressed = fileBytes.substr(4);
    // Deflate cannot expand data by more than about 1032 to 1, so a larger announced length
    // is a lie; refusing it here avoids allocating for it.
    constexpr std::uint64_t kMaxRatio = 1032;
    if (announced > kMaxRatio * compressed.size() + 64) {
        return Result<std::string>::Fail(
            "the announced text length " + std::to_string(announced) + " bytes cannot come from " +
            std::to_string(compressed.size()) + " bytes of compressed data");
    }
    // One byte more than announced tells a longer text from a damaged stream.
    std::string text(std::size_t{announced} + 1, '\0');
    uLongf produced = announced + 1;
    const int status =
        uncompress(reinterpret_cast<Bytef*>(text.data()), &produced,
                   reinterpret_cast<const Bytef*>(compressed.data()), compressed.size());
    if (status == Z_BUF_ERROR || (status == Z_OK && produced > announced)) {
        return Result<std::string>::Fail("the text is longer than the announced " +
                                         std::to_string(announced) + " bytes");
    }
    if (status != Z_OK) {
        return Result<std::string>::Fail("the compressed text cannot be decompressed (zlib: " +
                                         std::string(zError(status)) + ")");
    }
    if (produced != announced) {
        return Result<std::string>::Fail("the text has " + std::to_string(produced) +
                                         " bytes, not the announced " + std::to_string(announced));
    }
    text.resize(announced);
    return text;
}

LoadResult ReadLinacText(std::string_view text, TLinacSpec& linac) {
    TokenReader in(text);
    std::string magic;
    if (!in.Word(magic, "magic word") || magic != kLinacMagicWord) {
        return Rejected("the text does not start with the word " + std::string(kLinacMagicWord));
    }
    int format = 0;
    if (!in.Integer(format, "format number")) {
        return Rejected(in.error());
    }
    // Another format is another layout: reading it as this one, or as an empty linac, would
    // show a machine that is not the one in the file.
    if (format != 0) {
        in.Fail("the format " + std::to_string(format) + " is unknown: this program reads format 0",
                "format number");
        return Rejected(in.error());
    }
    TLinacSpec read;
    if (!ReadBody(in, read)) {
        return Rejected(in.error());
    }
    read.FileName = linac.FileName;
    linac = std::move(read);
    return LoadResult{LoadOutcome::Accepted, {}};
}

LoadResult TLinacSpec::LoadFromFile(const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxLinacFileBytes);
    if (!file.ok()) {
        const bool cannotOpen = file.error == FileBytes::Error::CannotOpen;
        return LoadResult{cannotOpen ? LoadOutcome::CannotOpen : LoadOutcome::NotALinacFile,
                          file.reason};
    }
    const Result<std::string> text = UnpackLinacFile(file.bytes);
    if (!text) {
        return Rejected(text.reason());
    }
    LoadResult result = ReadLinacText(*text, *this);
    if (result.accepted()) {
        FileName = path;
        FileSha256 = Sha256Hex(file.bytes);
    }
    return result;
}

void TLinacSpec::WriteTo(std::ostream& out) const {
    out << kLinacMagicWord << '\n'
        << 0 << '\n'
        << EncodeTextWord(Name) << '\t' << EncodeTextWord(Brand) << '\t' << EncodeTextWord(Model)
        << '\t' << EncodeTextWord(SerialNumber) << '\n'
        << Num(SAD) << '\n'
        << EncodeTextWord(WidthChar) << '\t' << EncodeTextWord(HeightChar) << '\t'
        << EncodeTextWord(LeftChar) << '\t' << EncodeTextWord(RightChar) << '\t'
        << EncodeTextWord(BottomChar) << '\t' << EncodeTextWord(TopChar) << '\n'
        << Num(isAsymmetricFieldsOnWidth) << '\t' << Num(isAsymmetricFieldsOnHeight) << '\n';
    out << gEnergies.size() << '\n';
    for (const auto& energy : gEnergies) {
        energy->WriteTo(out);
    }
    out << eEnergies.size() << '\n';
    for (const auto& energy : eEnergies) {
        energy->WriteTo(out);
    }
}

} // namespace kova
