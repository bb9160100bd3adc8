#pragma once

#include "core/common/result.h"
#include "core/mlc/mlc_field.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// The two planning-system exports a multileaf field can come from.
enum class MLCFormat {
    Unknown,
    Shaper, ///< Shaper leaf file: extension ".mlc", first word "File"
    Plato,  ///< PLATO tagged ASCII: extension ".s*", first word "<PlatoRTSTaggedASCII>1.0"
};

/// Largest MLC file read, bytes. Real exports are a few KB per field.
inline constexpr std::size_t kMaxMLCFileBytes = 4u * 1024u * 1024u;

/// The format of a file from its extension (compared in lower case) and its first word
/// (compared exactly, after a UTF-8 byte-order mark).
MLCFormat DetectMLCFormat(const std::string& path, std::string_view bytes);

/// Reads every field of a Shaper leaf file held in `bytes` (the first word, "File", is
/// skipped unread). A field starts with the word "Field": one separator word, the rest of the
/// line as its name (leading blank kept), the second word after "Gantry" as the gantry, then
/// 26 right-bank entries "Leaf nA = TIP" and 26 left-bank entries "Leaf nB = TIP", n from 1
/// to 26. Reading stops at the end of the text, keeping the complete fields read before (a
/// value that runs into the end of the text may be cut and is not taken); a field without
/// "Gantry" before the next "Field" is dropped. The whole import fails with:
/// - "'WORD' is not a valid floating point value" for a gantry or tip that is not a number;
/// - "FILE, line N: ..." naming the word, for a label out of its place, a leaf line after 26B
///   (a collimator of other pairs) or a tip beyond kMaxLeafTip;
/// - "FILE ends inside the field that starts on line N: it is cut short" when the text ends
///   inside its first field.
/// FILE is `fileName`, "the file" without one.
Result<std::vector<MLCField>> ReadShaperFields(std::string_view bytes,
                                               std::string_view fileName = {});

/// Reads every field of a PLATO tagged-ASCII file held in `bytes` (the first word is skipped
/// unread). A field starts with the word "<beginBeam>" on its line 0: the first word of line
/// 3 is its name, the tagged value of line 13 its gantry; after the word "<beginMLC>" and 10
/// more lines come 26 pairs of five tagged words, top pair first: the pair's number (26 down
/// to 1), its width (1 cm), its centre (pair - 13.5 cm), the left tip as a coordinate
/// (negative to the left) and the right tip. A tip of exactly +-0.15 cm is the exporter's
/// mark of a closed leaf and becomes 0. A field without "<beginMLC>" before the next
/// "<beginBeam>" is dropped. A pair whose number, width or centre differs ("FILE, line N:
/// ...", naming the word: leaves of another collimator), ends and other failures as for
/// ReadShaperFields.
Result<std::vector<MLCField>> ReadPlatoFields(std::string_view bytes,
                                              std::string_view fileName = {});

/// The fields of an MLC file whose content is `bytes`; `path` gives the extension and the
/// name. A file of unknown format, or one without a field, fails with "No multileaf field
/// found in PATH"; a damaged or cut file fails with the reader's reason.
Result<MLCFieldList> ReadMLCBytes(const std::string& path, std::string_view bytes);

/// Reads the MLC file at `path` (at most kMaxMLCFileBytes) as ReadMLCBytes does; a file that
/// cannot be read or is too large fails with ReadFileBytes' reason, which says which.
Result<MLCFieldList> ReadMLCFile(const std::string& path);

} // namespace kova
