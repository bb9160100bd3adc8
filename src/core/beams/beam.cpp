#include "core/beams/beam.h"

#include "core/beams/result_text.h"

#include <array>

namespace kova {

const char* SetupColumnName(SetupColumn column) {
    static constexpr std::array<const char*, 12> names = {
        "Fascio",           "ID Fascio",  "DSP",      "Dim Campo width",
        "Dim Campo height", "Rot Gantry", "Rot Coll", "Rot Lettino",
        "Blocchi",          "Schermi",    "Cunei",    "UM"};
    return names[static_cast<std::size_t>(column)];
}

std::string TBeam::MUText() const {
    return MUFormat(MU);
}

std::unique_ptr<TBeam> CreateBeam(BeamKind kind, const std::string& name,
                                  const BeamMachine& machine) {
    std::unique_ptr<TBeam> beam = KindInfo(kind).create(name);
    beam->machine = machine;
    return beam;
}

} // namespace kova
