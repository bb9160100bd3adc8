#include "core/beams/segment_text.h"

#include "core/text/number_text.h"

#include <array>

namespace kova {
namespace {

/// Values of a segment before its leaf tips.
constexpr std::size_t kSegmentValues = 12;
constexpr std::string_view kNoDepth = "-";

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t begin = text.find_first_not_of(" \t", start);
        if (begin == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", begin), text.size());
        words.push_back(text.substr(begin, end - begin));
        start = end;
    }
    return words;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

Result<double> Number(std::string_view word) {
    return StrToFloat(std::string(word));
}

Result<LeafBank> ParseLeaves(std::string_view text) {
    LeafBank leaves;
    const std::vector<std::string_view> words = Words(text);
    if (words.empty()) {
        return leaves;
    }
    if (words.front() != "MLCX" && words.front() != "MLCY") {
        return Result<LeafBank>::Fail("LeafBoundaries must start with MLCX or MLCY");
    }
    leaves.travel = words.front() == "MLCX" ? LeafTravel::AlongX : LeafTravel::AlongY;
    if (words.size() < 3 || words.size() > kMaxLeafPairs + 2) {
        return Result<LeafBank>::Fail("LeafBoundaries must give 2 to " +
                                      std::to_string(kMaxLeafPairs + 1) + " leaf edges");
    }
    for (std::size_t i = 1; i < words.size(); ++i) {
        const Result<double> value = Number(words[i]);
        if (!value) {
            return Result<LeafBank>::Fail("LeafBoundaries: " + value.reason());
        }
        leaves.boundaries.push_back(*value);
    }
    return leaves;
}

Result<DoseSegment> ParseSegment(std::string_view text, const LeafBank& leaves) {
    const std::vector<std::string_view> words = Words(text);
    const std::size_t pairs = leaves.boundaries.empty() ? 0 : leaves.boundaries.size() - 1;
    if (words.size() != kSegmentValues + 2 * pairs) {
        return Result<DoseSegment>::Fail("it gives " + std::to_string(words.size()) +
                                         " values, not " +
                                         std::to_string(kSegmentValues + 2 * pairs));
    }
    std::vector<double> values;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i == 2 && words[i] == kNoDepth) {
            values.push_back(0);
            continue;
        }
        const Result<double> value = Number(words[i]);
        if (!value) {
            return value.status();
        }
        values.push_back(*value);
    }
    DoseSegment s;
    std::array<double*, kSegmentValues> fields = {
        &s.MU, &s.SSD, nullptr, &s.pointX,          &s.pointY,      &s.X1,
        &s.X2, &s.Y1,  &s.Y2,   &s.collimatorAngle, &s.gantryAngle, &s.couchAngle};
    for (std::size_t i = 0; i < kSegmentValues; ++i) {
        if (fields[i] != nullptr) {
            *fields[i] = values[i];
        }
    }
    if (words[2] != kNoDepth) {
        s.depth = values[2];
    }
    s.leaves = {leaves.travel, leaves.boundaries, {values.begin() + kSegmentValues, values.end()}};
    return s;
}

} // namespace

std::string LeafBoundariesText(const LeafBank& leaves) {
    if (leaves.boundaries.empty()) {
        return {};
    }
    std::string text = leaves.travel == LeafTravel::AlongX ? "MLCX" : "MLCY";
    for (const double edge : leaves.boundaries) {
        text += ' ' + FormatGeneral(edge);
    }
    return text;
}

std::string SegmentsText(const std::vector<DoseSegment>& segments) {
    std::string text;
    for (const DoseSegment& s : segments) {
        if (!text.empty()) {
            text += " ; ";
        }
        text += FormatGeneral(s.MU) + ' ' + FormatGeneral(s.SSD) + ' ' +
                (s.depth ? FormatGeneral(*s.depth) : std::string(kNoDepth));
        for (const double value : {s.pointX, s.pointY, s.X1, s.X2, s.Y1, s.Y2, s.collimatorAngle,
                                   s.gantryAngle, s.couchAngle}) {
            text += ' ' + FormatGeneral(value);
        }
        for (const double tip : s.leaves.positions) {
            text += ' ' + FormatGeneral(tip);
        }
    }
    return text;
}

Result<std::vector<DoseSegment>> ParseSegments(std::string_view leafBoundaries,
                                               std::string_view segments) {
    using Made = Result<std::vector<DoseSegment>>;
    const Result<LeafBank> leaves = ParseLeaves(leafBoundaries);
    if (!leaves) {
        return leaves.status();
    }
    if (Words(segments).empty()) {
        return Made::Fail("the beam has no segment: IMRT and VMAT beams come from an RT Plan");
    }
    const std::vector<std::string_view> parts = Split(segments, ';');
    if (parts.size() > kMaxSegments) {
        return Made::Fail("the beam has more than " + std::to_string(kMaxSegments) + " segments");
    }
    std::vector<DoseSegment> made;
    made.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Result<DoseSegment> segment = ParseSegment(parts[i], *leaves);
        if (!segment) {
            return Made::Fail("Segments: segment " + std::to_string(i + 1) + ": " +
                              segment.reason());
        }
        made.push_back(std::move(segment.value()));
    }
    return made;
}

} // namespace kova
