#include "core/workbench/beam_file.h"

#include "core/text/cp1252.h"

#include <sstream>

namespace kova {
namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

const BeamEntry* BeamBlock::Find(const std::string& key) const {
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
    std::istringstream lines(Utf8ToCp1252Lossy(TextFileToUtf8(text)));
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                errors.push_back({file, number, "a beam title must end with ']'", line});
                continue;
            }
            blocks.push_back({file, Trim(line.substr(1, line.size() - 2)), number, {}});
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            errors.push_back({file, number, "expected 'Key = Value'", line});
            continue;
        }
        if (blocks.empty()) {
            errors.push_back({file, number, "an entry comes before the first [beam title]", line});
            continue;
        }
        BeamEntry entry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), number};
        if (blocks.back().Find(entry.key) != nullptr) {
            errors.push_back({file, number, "the key is given twice in this beam", entry.key});
            continue;
        }
        blocks.back().entries.push_back(std::move(entry));
    }
    return blocks;
}

} // namespace kova
