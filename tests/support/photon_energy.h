#pragma once

#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/treatment.h"

#include <utility>
#include <vector>

namespace kova::test {

/// Appends a default entry to a table and returns it for filling in.
template <class T>
T& Append(EntryList<T>& list) {
    list.push_back(std::make_unique<T>());
    return *list.back();
}

/// (depth cm, depth dose) pairs of a reference field.
using DepthDoses = std::vector<std::pair<double, double>>;

/// Appends a reference field without phantom scatter factor.
RefField& AddRefField(TgEnergy& energy, double width, double height, double fieldFactor,
                      const DepthDoses& pdd = {});
/// Appends a wedge factor row to a wedge.
void AddWedgeFactor(Wedge& wedge, double fieldSize, double wf, double warp);
void AddOffsetFactor(TgEnergy& energy, double offset, double factor);

/// A linac with SAD 100, jaw labels X, Y, X1, X2, Y1, Y2, independent jaws on both axes and
/// one photon energy "X6", with a photon treatment on them. The energy, small enough to
/// work every MU out by hand:
/// - SCD 100, build-up 1.5, 1 cGy/MU without decay, calibrated 01/01/2026;
/// - limits: width and height 1 to 40, X jaws -2 to 20, Y jaws -10 to 20;
/// - reference fields 4x4 (FF 0.90), 10x10 (FF 1.00), 30x30 (FF 1.10), all with the same
///   depth doses 0.98 at 1, 1 at 1.5, 0.67 at 10, 0.40 at 20, 0.20 at 30 cm, so the depth
///   dose never depends on the field; the reference fields make the usable field 4 to 30 cm;
/// - wedge W30 (at most 20 x 20; WF 0.50 warp 1.10 at 5 cm, WF 0.55 warp 1.20 at 15 cm) and
///   wedge EDW (at most 40 x 40, offset factor not used when wedged; WF 0.80 warp 1 at 10 cm);
/// - tray "Tray" 0.96, shield "Block" 0.95, multileaf "MLC" 0.99 (multileaf supported);
/// - offset factors 1.000 at 0 and 0.980 at 5 cm, offsets below 0.5 cm ignored;
/// - offsets printed "alla Varian".
struct PhotonSetup {
    PhotonSetup();
    PhotonSetup(const PhotonSetup&) = delete;
    PhotonSetup& operator=(const PhotonSetup&) = delete;

    TLinacSpec linac;
    TgEnergy* energy = nullptr;
    const Wedge* w30 = nullptr;
    const Wedge* edw = nullptr;
    const Tray* tray = nullptr;
    const Shield* shield = nullptr;
    const MLCFValue* multileaf = nullptr;
    TTreatment treatment;
};

} // namespace kova::test
