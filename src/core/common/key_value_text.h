#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// One line of a "Key = Value" text (a beam file, ActionLevels.ini) that says something.
struct KeyValueLine {
    enum class Type {
        Title, ///< "[title]"
        Entry, ///< "Key = Value"
        Other, ///< anything else: a fault of the file
    };
    Type type = Type::Other;
    int number = 0;    ///< line number, from 1
    std::string text;  ///< the whole line without blanks at its ends
    std::string key;   ///< an entry's key, or the title within its brackets (both trimmed)
    std::string value; ///< an entry's value (trimmed)
};

/// The lines of `text` that say something: blank lines and comments (a "#" first) are left
/// out, a UTF-8 byte-order mark at the start and the line ends of any system are ignored, so
/// a file saved by any editor reads the same.
std::vector<KeyValueLine> SplitKeyValueText(std::string_view text);

} // namespace kova
