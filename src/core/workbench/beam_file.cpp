#include "core/workbench/beam_file.h"

#include "core/common/key_value_text.h"
#include "core/text/cp1252.h"

namespace kova {

const BeamEntry* BeamBlock::Find(std::string_view key) const {
    for (const BeamEntry& entry : entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

std::string InputError::ToString() const {
    std::string out = file + ":" + std::to_string(line) + ": " + message;
    if (!text.empty()) {
        out += ": '" + text + "'";
    }
    return out;
}

std::vector<BeamBlock> ParseBeamText(const std::string& file, const std::string& text,
                                     std::vector<InputError>& errors) {
    std::vector<BeamBlock> blocks;
    // Beam files are UTF-8 (or, from older editors, Windows-1252); names of the linac files
    // are Windows-1252, which is how the program keeps every text.
    for (KeyValueLine& line : SplitKeyValueText(Utf8ToCp1252Lossy(TextFileToUtf8(text)))) {
        switch (line.type) {
        case KeyValueLine::Type::Title:
            blocks.push_back({file, std::move(line.key), line.number, {}});
            break;
        case KeyValueLine::Type::Other:
            errors.push_back({file, line.number,
                              line.text.front() == '[' ? "a beam title must end with ']'"
                                                       : "expected 'Key = Value'",
                              line.text});
            break;
        case KeyValueLine::Type::Entry:
            if (blocks.empty()) {
                errors.push_back(
                    {file, line.number, "an entry comes before the first [beam title]", line.text});
            } else if (blocks.back().Find(line.key) != nullptr) {
                errors.push_back(
                    {file, line.number, "the key is given twice in this beam", line.key});
            } else {
                blocks.back().entries.push_back(
                    {std::move(line.key), std::move(line.value), line.number});
            }
            break;
        }
    }
    return blocks;
}

} // namespace kova
