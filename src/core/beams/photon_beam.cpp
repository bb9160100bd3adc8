#include "core/beams/photon_beam.h"

#include "core/beams/photon_beam_form.h"
#include "core/beams/photon_calculation.h"

namespace kova {

Status TPhotonBeam::Accept(const PhotonBeamInput& input, const Date& today) {
    if (machine.linac == nullptr || machine.gEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and a photon energy");
    }
    const Result<PhotonCalculation> result =
        CalculatePhotonBeam(*machine.linac, *machine.gEnergy, input, today);
    if (!result) {
        return result.status();
    }
    Store(input, *result, today);
    return Status::Ok();
}

void TPhotonBeam::Store(const PhotonBeamInput& typedInput, const PhotonCalculation& calculation,
                        const Date& today) {
    static_cast<BeamFields&>(*this) = calculation.stored;
    static_cast<PhotonFields&>(*this) = calculation.stored;
    typed = {typedInput.X1,    typedInput.X2,     typedInput.Y1,        typedInput.Y2,
             typedInput.width, typedInput.height, typedInput.equivSize, typedInput.offset};
    factors = calculation.factors;
    MU = calculation.MU;
    day = today;
    calculated = true;
}

std::vector<const EnergyListItem*> TPhotonBeam::UsedEntries() const {
    // Whether computed or not: the stored input points at them.
    std::vector<const EnergyListItem*> used;
    for (const EnergyListItem* entry :
         std::initializer_list<const EnergyListItem*>{wedge, tray, shield, multileaf}) {
        if (entry != nullptr) {
            used.push_back(entry);
        }
    }
    const auto addAll = [&used](const auto& list) {
        for (const auto& entry : list) {
            used.push_back(entry.get());
        }
    };
    if (wedge != nullptr) {
        addAll(wedge->WFValues);
    }
    // The offset factor is read across the table off the axis, or at 0 when applied there.
    if (machine.gEnergy != nullptr && (offset > 0 || !offsetOff)) {
        addAll(machine.gEnergy->OffsetFactors);
    }
    return used;
}

PhotonBeamInput TPhotonBeam::StoredInput() const {
    PhotonBeamInput in;
    static_cast<BeamFields&>(in) = *this;
    static_cast<PhotonFields&>(in) = *this;
    return in;
}

PhotonBeamInput TPhotonBeam::ShownInput() const {
    PhotonBeamInput in = StoredInput();
    const PhotonGeometry& e = typed;
    in.X1 = e.X1;
    in.X2 = e.X2;
    in.Y1 = e.Y1;
    in.Y2 = e.Y2;
    in.width = e.width;
    in.height = e.height;
    in.equivSize = e.equivSize;
    in.offset = e.offset;
    return in;
}

std::vector<NamedValue> TPhotonBeam::Inputs() const {
    return BoundValues(PhotonBeamForm::Table(), StoredInput());
}

std::vector<NamedValue> TPhotonBeam::Factors() const {
    const PhotonFactors& f = factors;
    return {{"MUperCGy", f.MUperCGy},
            {"actualCalibrationFactor", 1 / f.MUperCGy},
            {"scaleFactor", f.scaleFactor},
            {"scdPDDSize", f.scdPDDSize},
            {"scdPDD", f.scdPDD},
            {"tmr", f.tmr},
            {"ssdPDD", f.ssdPDD},
            {"fieldFactor", f.fieldFactor},
            {"wedgeFactor", f.wedgeFactor},
            {"warpFactor", f.warpFactor},
            {"effectiveDepth", f.effectiveDepth},
            {"shieldFactor", f.shieldFactor},
            {"trayFactor", f.trayFactor},
            {"multileafFactor", f.multileafFactor},
            {"offsetFactor", f.offsetFactor},
            {"depthDoseFromTable", f.depthDoseFromTable},
            {"fieldFactorFromTable", f.fieldFactorFromTable}};
}

PlotMarks TPhotonBeam::LookupMarks() const {
    if (!calculated) {
        return {};
    }
    const PhotonBeamInput in = StoredInput();
    const PhotonFactors& f = factors;
    PlotMarks marks{
        {PlotKind::DepthDose, {f.effectiveDepth, f.scdPDD}},
        {PlotKind::FieldFactors, {EquivalentSquare(in.width, in.height), f.fieldFactor}},
        {PlotKind::RefFieldSizes, {in.width, in.height}}};
    if (in.wedge != nullptr) {
        marks[PlotKind::WedgeFactors] = {in.equivSize, f.wedgeFactor};
        marks[PlotKind::WedgeWarps] = {in.equivSize, f.warpFactor};
    }
    if (!in.offsetOff) {
        marks[PlotKind::OffsetFactors] = {in.offset, f.offsetFactor};
    }
    return marks;
}

std::unique_ptr<BeamForm> TPhotonBeam::CreateForm() {
    return std::make_unique<PhotonBeamForm>(*this);
}

} // namespace kova
