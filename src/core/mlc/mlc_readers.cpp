// The two planning-system readers. Both walk the text as the exporters' layouts require
// (words and whole lines), so every read can meet the end of the text: reading then stops and
// the field in progress is dropped, while the complete fields before it stay.

#include "core/mlc/mlc_file.h"
#include "core/mlc/mlc_text_reader.h"
#include "core/text/number_text.h"

#include <optional>
#include <utility>

namespace kova {
namespace {

/// The reader of one file: the text, and the first number that was not one.
class FieldReader {
public:
    FieldReader(std::string_view bytes, std::string_view startWord)
        : in(bytes), m_startWord(startWord) {
        in.Word(); // the format word, already recognised
    }

    /// Reads words up to `word` inside a field; false when the text ends first or the next
    /// field starts (then `nextStarted` is set).
    bool SkipPast(std::string_view word) {
        const MLCTextReader::Search found = in.SkipPast(word, m_startWord);
        nextStarted = found == MLCTextReader::Search::Stopped;
        return found == MLCTextReader::Search::Found;
    }

    /// Converts the word or tagged value just read, strictly; the first failure is kept.
    /// What runs into the end of the text counts as missing, not as a number: a file cut
    /// inside its last leaf value ("12.5" cut to "1", "1e-3" to "1e") must not give a field.
    bool Number(std::string_view text, double& value) {
        if (in.AtEnd()) {
            return false;
        }
        const Result<double> number = StrToFloat(text);
        if (!number) {
            m_failure = number.status();
            return false;
        }
        value = *number;
        return true;
    }

    /// The fields read, or the conversion failure that stopped the import.
    Result<std::vector<MLCField>> Outcome(std::vector<MLCField> fields) const {
        if (!m_failure.ok()) {
            return m_failure;
        }
        return fields;
    }

    MLCTextReader in;
    bool nextStarted = false; ///< a field's search met the start word of the next field

private:
    std::string_view m_startWord;
    Status m_failure = Status::Ok();
};

/// Reads fields with `readField` after each start word, until the text ends or a number
/// fails. A field whose search for a word meets the next start word is dropped, and that
/// next field is read: its words never complete the broken one.
template <class ReadField>
Result<std::vector<MLCField>> ReadFields(std::string_view bytes, std::string_view startWord,
                                         ReadField readField) {
    using Search = MLCTextReader::Search;
    FieldReader reader(bytes, startWord);
    std::vector<MLCField> fields;
    bool started = reader.in.SkipPast(startWord) == Search::Found;
    while (started) {
        reader.nextStarted = false;
        std::optional<MLCField> field = readField(reader);
        if (field) {
            fields.push_back(std::move(*field));
            started = reader.in.SkipPast(startWord) == Search::Found;
        } else {
            started = reader.nextStarted;
        }
    }
    return reader.Outcome(std::move(fields));
}

bool SkipWords(MLCTextReader& in, int count) {
    for (int i = 0; i < count; ++i) {
        if (!in.Word()) {
            return false;
        }
    }
    return true;
}

/// 26 Shaper entries: three words, then the tip position.
bool ReadShaperBank(FieldReader& reader, std::array<double, kLeafPairCount>& bank) {
    for (double& tip : bank) {
        if (!SkipWords(reader.in, 3)) {
            return false;
        }
        const auto word = reader.in.Word();
        if (!word || !reader.Number(*word, tip)) {
            return false;
        }
    }
    return true;
}

std::optional<MLCField> ReadShaperField(FieldReader& reader) {
    MLCTextReader& in = reader.in;
    if (!in.Word()) { // the separator after "Field"
        return std::nullopt;
    }
    const auto name = in.RestOfLine();
    if (!name || !reader.SkipPast("Gantry") || !in.Word()) {
        return std::nullopt;
    }
    const auto gantryWord = in.Word();
    double gantry = 0;
    if (!gantryWord || !reader.Number(*gantryWord, gantry)) {
        return std::nullopt;
    }
    MLCLeaves leaves;
    if (!ReadShaperBank(reader, leaves.R) || !ReadShaperBank(reader, leaves.L)) {
        return std::nullopt;
    }
    return MakeMLCField(std::string(*name), gantry, leaves);
}

/// PLATO writes a closed leaf at exactly +-0.15 cm; such a tip is taken as on the axis.
double Unmarked(double tip) {
    constexpr double kClosedMark = 0.15;
    return tip == kClosedMark || tip == -kClosedMark ? 0 : tip;
}

/// One PLATO leaf pair of five words into pair `i`: the 4th holds the left tip as a
/// coordinate (negative to the left of the axis), the 5th the right tip.
bool ReadPlatoPair(FieldReader& reader, MLCLeaves& leaves, int i) {
    if (!SkipWords(reader.in, 3)) {
        return false;
    }
    const auto leftWord = reader.in.Word();
    const auto rightWord = reader.in.Word();
    double left = 0;
    double right = 0;
    if (!leftWord || !rightWord || !reader.Number(TaggedValue(*rightWord), right) ||
        !reader.Number(TaggedValue(*leftWord), left)) {
        return false;
    }
    leaves.R[i] = Unmarked(right);
    leaves.L[i] = Unmarked(0.0 - left); // 0.0 - 0 is +0, never "-0"
    return true;
}

std::optional<MLCField> ReadPlatoField(FieldReader& reader) {
    MLCTextReader& in = reader.in;
    // Lines are counted from the one holding "<beginBeam>", line 0.
    if (!in.SkipLines(3)) {
        return std::nullopt;
    }
    const auto name = in.Word();                                    // first word of line 3
    const auto gantryLine = name ? in.SkipLines(11) : std::nullopt; // ends with line 13
    double gantry = 0;
    if (!gantryLine || !reader.Number(TaggedValue(*gantryLine), gantry)) {
        return std::nullopt;
    }
    if (!reader.SkipPast("<beginMLC>") || !in.SkipLines(11)) {
        return std::nullopt;
    }
    MLCLeaves leaves;
    // The file lists the top pair first.
    for (int j = 0; j < kLeafPairCount; ++j) {
        if (!ReadPlatoPair(reader, leaves, kLeafPairCount - 1 - j)) {
            return std::nullopt;
        }
    }
    return MakeMLCField(std::string(*name), gantry, leaves);
}

} // namespace

Result<std::vector<MLCField>> ReadShaperFields(std::string_view bytes) {
    return ReadFields(bytes, "Field", ReadShaperField);
}

Result<std::vector<MLCField>> ReadPlatoFields(std::string_view bytes) {
    return ReadFields(bytes, "<beginBeam>", ReadPlatoField);
}

} // namespace kova
