#include "core/workbench/workbench_text.h"

namespace kova {

TextNode BeamNode(const TBeam& beam, const ActionLevels& levels) {
    TextNode node{beam.name, 2, ResultLines(beam, levels)};
    if (!beam.calculated && !beam.outOfDate.empty()) {
        node.children.push_back(
            {"No MU on the changed linac data: " + beam.outOfDate, kImageWarningLine, {}});
    }
    return node;
}

TextNode TreatmentNode(const TTreatment& treatment, const ActionLevels& levels) {
    TextNode node{treatment.name, 1, {}};
    for (const std::string& line : treatment.InformationLines()) {
        node.children.push_back({line, -1, {}});
    }
    for (const auto& beam : treatment.beams) {
        node.children.push_back(BeamNode(*beam, levels));
    }
    return node;
}

std::string IndentedText(const std::vector<TextNode>& nodes, int level) {
    std::string text;
    for (const TextNode& node : nodes) {
        text += std::string(static_cast<std::size_t>(2 * level), ' ') + node.text + '\n';
        text += IndentedText(node.children, level + 1);
    }
    return text;
}

} // namespace kova
