// The two planning-system readers. Both walk the text as the exporters' layouts require
// (words and whole lines), so every read can meet the end of the text: reading then stops and
// the field in progress is dropped, while the complete fields before it stay. The leaf words
// must fit the one collimator the program models (26 pairs of 1 cm leaves): a file made for
// another one is refused, never measured as if it were this one.

#include "core/mlc/mlc_file.h"
#include "core/mlc/mlc_text_reader.h"
#include "core/text/number_text.h"

#include <cmath>
#include <optional>
#include <utility>

namespace kova {
namespace {

/// The reader of one file: the text, and the first failure (a number that was not one, a
/// leaf that does not fit the collimator).
class FieldReader {
public:
    FieldReader(std::string_view bytes, std::string_view startWord, std::string_view fileName)
        : in(bytes), m_startWord(startWord), m_fileName(fileName) {
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
            Keep(number.status());
            return false;
        }
        value = *number;
        return true;
    }

    /// A leaf tip from `word` (the tagged value `text` of it): refused beyond kMaxLeafTip.
    bool Tip(std::string_view word, std::string_view text, double& tip, const std::string& leaf) {
        if (!Number(text, tip)) {
            return false;
        }
        if (std::fabs(tip) > kMaxLeafTip) {
            return Refuse(in.Line(), leaf + " at '" + std::string(word) +
                                         "' cm lies beyond the collimator, more than " +
                                         FormatGeneral(kMaxLeafTip) + " cm from the axis");
        }
        return true;
    }

    /// Refuses the file for `problem` on `line`; always false.
    bool Refuse(int line, const std::string& problem) {
        const std::string where = "line " + std::to_string(line);
        Keep(Status::Fail((m_fileName.empty() ? where : std::string(m_fileName) + ", " + where) +
                          ": " + problem));
        return false;
    }

    /// The fields read, or the failure that stopped the import. A file that ends inside its
    /// first field has been cut short: saying so tells it from a file without fields.
    Result<std::vector<MLCField>> Outcome(std::vector<MLCField> fields) const {
        if (!m_failure.ok()) {
            return m_failure;
        }
        if (fields.empty() && cutFieldLine > 0) {
            return Status::Fail((m_fileName.empty() ? "the file" : std::string(m_fileName)) +
                                " ends inside the field that starts on line " +
                                std::to_string(cutFieldLine) + ": it is cut short");
        }
        return fields;
    }

    bool failed() const { return !m_failure.ok(); }

    MLCTextReader in;
    bool nextStarted = false; ///< a field's search met the start word of the next field
    int cutFieldLine = 0;     ///< the line of the field the text ended in, 0 for none

private:
    void Keep(Status failure) {
        if (m_failure.ok()) {
            m_failure = std::move(failure);
        }
    }

    std::string_view m_startWord;
    std::string_view m_fileName; ///< names the file in reasons; empty for "the file"
    Status m_failure = Status::Ok();
};

/// Reads fields with `readField` after each start word, until the text ends or a field is
/// refused. A field whose search for a word meets the next start word is dropped, and that
/// next field is read: its words never complete the broken one.
template <class ReadField>
Result<std::vector<MLCField>> ReadFields(std::string_view bytes, std::string_view fileName,
                                         std::string_view startWord, ReadField readField) {
    using Search = MLCTextReader::Search;
    FieldReader reader(bytes, startWord, fileName);
    std::vector<MLCField> fields;
    bool started = reader.in.SkipPast(startWord) == Search::Found;
    while (started) {
        const int fieldLine = reader.in.Line();
        // A start word that runs into the end of the text may be a longer word cut short.
        const bool startCut = reader.in.AtEnd();
        reader.nextStarted = false;
        std::optional<MLCField> field = readField(reader);
        if (field) {
            fields.push_back(std::move(*field));
            started = reader.in.SkipPast(startWord) == Search::Found;
        } else {
            started = reader.nextStarted && !reader.failed();
            reader.cutFieldLine = reader.nextStarted || startCut ? 0 : fieldLine;
        }
    }
    return reader.Outcome(std::move(fields));
}

/// The 26 Shaper entries of one bank ('A' right, 'B' left): "Leaf", the label (the pair
/// from 1 and the bank's letter), "=", then the tip position. A label out of its place means
/// a leaf line too many or too few, or another collimator.
bool ReadShaperBank(FieldReader& reader, char bank, std::array<double, kLeafPairCount>& tips) {
    for (int i = 0; i < kLeafPairCount; ++i) {
        const auto leafWord = reader.in.Word();
        const auto label = reader.in.Word();
        const auto equals = reader.in.Word();
        const auto word = reader.in.Word();
        const std::string expected = std::to_string(i + 1) + bank;
        if (!leafWord || !label || !equals || !word ||
            !reader.Tip(*word, *word, tips[static_cast<std::size_t>(i)], "leaf " + expected)) {
            return false;
        }
        if (*label != expected) {
            return reader.Refuse(reader.in.Line(), "the leaf label '" + std::string(*label) +
                                                       "' stands where leaf " + expected +
                                                       " of 26 pairs was expected");
        }
    }
    return true;
}

/// After leaf 26B the field's leaves are complete: a further leaf line means a collimator of
/// more pairs.
bool NoLeafAfterTheLast(FieldReader& reader) {
    MLCTextReader ahead = reader.in;
    const auto next = ahead.Word();
    if (!next || *next != "Leaf") {
        return true;
    }
    const std::string label(ahead.Word().value_or(""));
    return reader.Refuse(ahead.Line(), "the leaf label '" + label +
                                           "' follows leaf 26B: the collimator has 26 pairs");
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
    if (!ReadShaperBank(reader, 'A', leaves.R) || !ReadShaperBank(reader, 'B', leaves.L) ||
        !NoLeafAfterTheLast(reader)) {
        return std::nullopt;
    }
    return MakeMLCField(std::string(*name), gantry, leaves);
}

/// PLATO writes a closed leaf at exactly +-0.15 cm; such a tip is taken as on the axis.
double Unmarked(double tip) {
    constexpr double kClosedMark = 0.15;
    return tip == kClosedMark || tip == -kClosedMark ? 0 : tip;
}

/// Checks the first three words of a PLATO leaf line against pair `pair` (from 1) of the
/// collimator: its number, its 1 cm width and its centre, cm from the axis. A file for leaves
/// of another width would give a wrong area: it is refused, not measured.
bool PairFitsTheCollimator(FieldReader& reader, int pair,
                           const std::array<std::string_view, 3>& words) {
    const std::array<std::string, 3> names = {"leaf pair", "leaf width", "leaf centre"};
    const std::array<double, 3> expected = {static_cast<double>(pair), kLeafWidth,
                                            (pair - 0.5 - kLeafPairCount / 2) * kLeafWidth};
    for (std::size_t k = 0; k < words.size(); ++k) {
        double value = 0;
        if (!reader.Number(TaggedValue(words[k]), value)) {
            return false;
        }
        if (!(std::fabs(value - expected[k]) <= 1e-6)) {
            const std::string found = "the " + names[k] + " '" + std::string(words[k]) + "'";
            return reader.Refuse(
                reader.in.Line(),
                (k == 0 ? found + " stands where pair " + std::to_string(pair) + " was expected"
                        : found + " of pair " + std::to_string(pair) + " is not " +
                              FormatGeneral(expected[k]) + " cm") +
                    ": the collimator has 26 pairs of 1 cm leaves");
        }
    }
    return true;
}

/// One PLATO leaf pair of five words into pair `i`: the pair's number, width and centre, then
/// the left tip as a coordinate (negative to the left of the axis) and the right tip.
bool ReadPlatoPair(FieldReader& reader, MLCLeaves& leaves, int i) {
    std::array<std::string_view, 5> words;
    for (std::string_view& word : words) {
        const auto read = reader.in.Word();
        if (!read) {
            return false;
        }
        word = *read;
    }
    const std::string pair = "leaf pair " + std::to_string(i + 1);
    double left = 0;
    double right = 0;
    if (!reader.Tip(words[4], TaggedValue(words[4]), right, pair + " right") ||
        !reader.Tip(words[3], TaggedValue(words[3]), left, pair + " left") ||
        !PairFitsTheCollimator(reader, i + 1, {words[0], words[1], words[2]})) {
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

Result<std::vector<MLCField>> ReadShaperFields(std::string_view bytes, std::string_view fileName) {
    return ReadFields(bytes, fileName, "Field", ReadShaperField);
}

Result<std::vector<MLCField>> ReadPlatoFields(std::string_view bytes, std::string_view fileName) {
    return ReadFields(bytes, fileName, "<beginBeam>", ReadPlatoField);
}

} // namespace kova
