#include "core/beams/result_text.h"

#include "core/linac/energy.h"
#include "core/text/number_text.h"

#include <cmath>

namespace kova {

std::string G(double value) {
    return FormatGeneral(value);
}

std::string F3(double value) {
    return FormatFloat("0.000", value);
}

std::string F2(double value) {
    return FormatFloat("0.00", value);
}

std::string MUFormat(double mu) {
    return FormatFloat("#0.##;;0", mu);
}

std::string SetupSize(double value) {
    return FormatFloat("##.#;;0", value);
}

const char* Mark(bool fromTable) {
    return fromTable ? "" : "*";
}

std::string Joined(const std::vector<std::string>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += (i == 0 ? "" : kPair) + values[i];
    }
    return text;
}

TextNode Line(std::string text, std::vector<TextNode> children, int image) {
    return TextNode{std::move(text), image, std::move(children)};
}

TextNode Traced(TextNode node, const TraceList& traces, const std::string& factor) {
    node.trace = FindTrace(traces, factor);
    return node;
}

TextNode RotationLine(const BeamFields& beam) {
    const auto orStar = [](const std::string& text) { return text.empty() ? "*" : text; };
    return Line(std::string("Gantry") + kPair + "Jaws" + kPair +
                "Couch = " + Joined({orStar(beam.gantry), orStar(beam.jaws), orStar(beam.couch)}));
}

TextNode CalibrationLine(double muPerCGy, const Date& day, const TgEnergy& energy) {
    return Line("Actual Calibration Factor = " + F3(1 / muPerCGy) + " cGy/UM",
                {Line("Actual Date = " + FormatShortDate(day)),
                 Line("Original Calibration Factor = " + F3(energy.cGyUMRatio) + " cGy/UM"),
                 Line("Calibration Date = " + energy.CalDate)});
}

double WholeMU(double mu) {
    return std::trunc(mu + 0.5);
}

} // namespace kova
