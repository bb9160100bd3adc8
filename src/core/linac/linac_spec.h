#pragma once

#include "core/common/result.h"
#include "core/linac/energy.h"
#include "core/linac/mlc_parameters.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace kova {

/// How a linac file was received.
enum class LoadOutcome {
    Accepted,      ///< the linac was read
    NotALinacFile, ///< rejected: wrong magic word, damaged container or token stream
    CannotOpen,    ///< the file could not be opened or read
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::NotALinacFile;
    /// Why the file was rejected; "Cannot open file PATH: WHY" when it could not be opened.
    std::string reason;

    bool accepted() const { return outcome == LoadOutcome::Accepted; }
};

/// One linear accelerator as commissioned: identity, geometry, jaw labels and energies.
class TLinacSpec {
public:
    TLinacSpec() = default;
    TLinacSpec(TLinacSpec&&) = default;
    TLinacSpec& operator=(TLinacSpec&&) = default;

    std::string Name = "n/a";
    std::string Brand = "n/a";
    std::string Model = "n/a";
    std::string SerialNumber;
    double SAD = 100; ///< source-axis distance, cm
    /// Non-zero: the jaws along the width may be set independently.
    double isAsymmetricFieldsOnWidth = 1;
    /// Non-zero: the jaws along the height may be set independently.
    double isAsymmetricFieldsOnHeight = 1;
    std::string WidthChar = "LR";
    std::string HeightChar = "BT";
    std::string LeftChar = "L";
    std::string RightChar = "R";
    std::string BottomChar = "B";
    std::string TopChar = "T";
    EntryList<TgEnergy> gEnergies;
    EntryList<TeEnergy> eEnergies;
    std::string FileName; ///< the path the linac was read from
    /// SHA-256 of the file's bytes as LoadFromFile read them (64 hex digits; empty for a
    /// linac not read from a file): a check keeps it, so a later change of the commissioning
    /// data shows.
    std::string FileSha256;
    /// Leaf transmission and leaf gap per photon energy, read by the folder scan from the
    /// sidecar beside the linac file (never part of the linac file itself).
    MlcSidecar Mlc;

    /// Reads a linac file into this freshly constructed linac. On any rejection the linac is
    /// left exactly as it was: a damaged file never gives a half-filled linac.
    LoadResult LoadFromFile(const std::string& path);

    /// Writes the whole linac text (magic word, format 0, header, energies) in the layout
    /// of the entries' WriteTo; reading it back gives the same linac.
    void WriteTo(std::ostream& out) const;
};

/// The first word of every linac text.
inline constexpr std::string_view kLinacMagicWord = "DAZUZODADIDUSPECFILE";
/// Largest decompressed linac text accepted, bytes: 4 MiB. Real linac texts are tens of KB;
/// a text of this size made only of the smallest entries still reads in about 100 MB
/// (every entry is an object of its own), see bench/bench_linac_reader.cpp.
inline constexpr std::size_t kMaxLinacTextBytes = 4u * 1024u * 1024u;
/// Largest linac file accepted, bytes. A linac file is its compressed text plus the 4-byte
/// length; zlib never makes a stream much larger than its input, so a larger file cannot be
/// a linac file.
inline constexpr std::size_t kMaxLinacFileBytes = kMaxLinacTextBytes + 1024u * 1024u;

/// Takes the text out of a linac file's bytes: a 4-byte little-endian length, then one zlib
/// stream that must decompress to exactly that many bytes (at most kMaxLinacTextBytes).
Result<std::string> UnpackLinacFile(std::string_view fileBytes);

/// Reads a decompressed linac text into `linac`, which is changed only when the text is
/// accepted. Refused with the line and the field: a format number other than 0, a word that
/// is not what its place holds, a negative depth, depth dose or factor, a calibration date
/// before 1900 (see CalDateProblem).
LoadResult ReadLinacText(std::string_view text, TLinacSpec& linac);

} // namespace kova
