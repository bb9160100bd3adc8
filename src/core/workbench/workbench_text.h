#pragma once

#include "core/beams/tps_check.h"
#include "core/common/text_tree.h"
#include "core/workbench/treatment.h"

#include <string>
#include <vector>

namespace kova {

/// The beam as the workbench tree shows it: its name over its result lines; a beam that lost
/// its results to a change of its linac's data says so, with the reason, under a warning
/// image.
TextNode BeamNode(const TBeam& beam, const ActionLevels& levels);

/// The treatment as the workbench tree shows it: its name over its information lines and
/// then its beams.
TextNode TreatmentNode(const TTreatment& treatment, const ActionLevels& levels);

/// Lines as plain text, one per line, each indented two spaces per level below `nodes`.
std::string IndentedText(const std::vector<TextNode>& nodes, int level = 0);

} // namespace kova
