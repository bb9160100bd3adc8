#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// One "Key = Value" line of a beam file.
struct BeamEntry {
    std::string key;
    std::string value;
    int line = 0;
};

/// One beam of a beam file: its "[title]" and its entries in file order.
struct BeamBlock {
    std::string file;
    std::string title;
    int line = 0;
    std::vector<BeamEntry> entries;

    /// The entry with `key`, or null.
    const BeamEntry* Find(std::string_view key) const;
};

/// A problem in a beam file, with where it is.
struct InputError {
    std::string file;
    int line = 0;
    std::string message;
    std::string text; ///< the offending text

    /// "FILE:LINE: MESSAGE: 'TEXT'".
    std::string ToString() const;
};

/// The beams of one beam file (UTF-8, or Windows-1252 when the bytes are not UTF-8); syntax
/// problems (a line that is neither a title, a
/// "Key = Value", a comment nor blank; an entry before the first title; a key given twice in
/// one beam) go to `errors`.
std::vector<BeamBlock> ParseBeamText(const std::string& file, const std::string& text,
                                     std::vector<InputError>& errors);

} // namespace kova
