#include "core/common/key_value_text.h"

#include "core/text/trim.h"

namespace kova {
namespace {

KeyValueLine Classify(std::string_view line, int number) {
    KeyValueLine out;
    out.number = number;
    out.text = std::string(line);
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
        out.type = KeyValueLine::Type::Title;
        out.key = std::string(Trim(line.substr(1, line.size() - 2)));
        return out;
    }
    const auto equals = line.find('=');
    if (line.front() != '[' && equals != std::string_view::npos) {
        out.type = KeyValueLine::Type::Entry;
        out.key = std::string(Trim(line.substr(0, equals)));
        out.value = std::string(Trim(line.substr(equals + 1)));
    }
    return out;
}

} // namespace

std::vector<KeyValueLine> SplitKeyValueText(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) {
        text.remove_prefix(kBom.size());
    }
    std::vector<KeyValueLine> lines;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        const std::string_view line = Trim(raw);
        if (!line.empty() && line.front() != '#') {
            lines.push_back(Classify(line, number));
        }
    }
    return lines;
}

} // namespace kova
