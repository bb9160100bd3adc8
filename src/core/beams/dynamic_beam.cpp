#include "core/beams/dynamic_beam.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/beams/segment_text.h"
#include "core/beams/tps_check.h"
#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"

#include <cmath>

namespace kova {

using namespace controls;

namespace {

using In = DynamicBeamInput;

/// The segments' shares of the beam's MU must make the whole beam; a plan's weights are
/// divided by its final weight, so they add up to 1 but for rounding.
constexpr double kWholeBeam = 1e-6;

/// An edit box of this kind's table (EditControl).
BoundControl<In> Edit(const auto&... args) {
    return EditControl<In>(args...);
}

/// In the order OK reads them: the identity, the dose, the TPS MU and the segments.
const BoundTable<In>& Table() {
    static const BoundTable<In> table = {
        Edit(kBeamName, &BeamFields::name, "name", 1),
        Edit(kBeamID, &BeamFields::ID, "ID", 2),
        Edit(kGantryRot, &BeamFields::gantry, "gantry", 3),
        Edit(kJawsRot, &BeamFields::jaws, "jaws", 4),
        Edit(kCouchRot, &BeamFields::couch, "couch", 5),
        Required(Edit(kBeamDose, &BeamFields::dose, "dose", 6, "0", "Dose")),
        Edit(kTPSMU, &BeamFields::tpsMU, "", 7, "", "TPS MU"),
        Edit(kLeafBoundaries, &In::leafBoundaries, "leafBoundaries", 8),
        Required(Edit(kSegments, &In::segments, "segments", 9, "", "Segments")),
    };
    return table;
}

std::string Percent(double fraction) {
    return FormatFloat("0.0", fraction * 100) + " %";
}

} // namespace

Status TDynamicBeam::Accept(const DynamicBeamInput& in, const Date& today) {
    if (machine.linac == nullptr || machine.gEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and a photon energy");
    }
    // Without segments (a beam made by hand) the first thing to say is where they come from.
    const Result<std::vector<DoseSegment>> segments = ParseSegments(in.leafBoundaries, in.segments);
    if (!segments) {
        return segments.status();
    }
    if (Status dose = CheckDose(in.dose, DoseRule::AboveZero); !dose) {
        return dose;
    }
    const Result<MlcParameters> parameters =
        MlcParametersFor(*machine.linac, machine.gEnergy->Name);
    if (!parameters) {
        return Status::Fail("No IMRT/VMAT check: " + parameters.reason());
    }
    const DoseMachine doseMachine{machine.linac->SAD, *parameters, kClarksonSectors};
    Result<PointDose> point = ComputePointDose(*machine.gEnergy, doseMachine, *segments, today);
    if (!point) {
        return point.status();
    }
    if (!(std::fabs(point->MU - 1) <= kWholeBeam)) {
        return Status::Fail("The segments' shares of the MU add up to " + G(point->MU) + ", not 1");
    }
    const Result<double> mu = MUForPlannedDose(*point, in.dose);
    if (!mu) {
        return mu.status();
    }
    static_cast<BeamFields&>(*this) = in;
    const DoseSegment& first = segments->front();
    SSD = realSSD = first.SSD;
    depth = point->meanDepth;
    input = in;
    pointDose = std::move(point.value());
    mlc = *parameters;
    kovaDose = in.tpsMU ? std::optional<double>(*in.tpsMU * pointDose.dose) : std::nullopt;
    MU = *mu;
    day = today;
    calculated = true;
    return Status::Ok();
}

std::vector<TextNode> TDynamicBeam::ShowResults() const {
    if (!calculated || machine.gEnergy == nullptr) {
        return {};
    }
    std::vector<TextNode> lines = {RotationLine(*this), Line("Dose = " + G(dose) + " cGy (TPS)")};
    if (kovaDose) {
        // (KOVA - TPS) / TPS of the dose is the MU's (TPS - KOVA) / KOVA.
        lines.push_back(Line("KOVA Dose = " + F2(*kovaDose) + " cGy for the TPS MU (" +
                             DifferenceText((*kovaDose - dose) / dose * 100) + ")"));
    }
    lines.push_back(Line("MU = " + MUFormat(MU)));
    lines.push_back(Line("Dose per MU = " + FormatFloat("0.0000", pointDose.dose) + " cGy/MU"));
    lines.push_back(Line("Segments = " + std::to_string(pointDose.segments.size())));
    lines.push_back(Line("Mean Depth = " + FormatFloat("0.00", pointDose.meanDepth) + " cm"));
    lines.push_back(Line("Transmission = " + Percent(pointDose.transmissionShare) +
                         " of the dose (leaf transmission " + G(mlc.leafTransmission) +
                         ", leaf gap " + G(mlc.leafGap) + " cm)"));
    lines.push_back(CalibrationLine(pointDose.MUperCGy, day, *machine.gEnergy));
    return lines;
}

std::vector<std::string> TDynamicBeam::DetailsColumn(const Date& printDay) const {
    std::vector<std::string> rows(kDetailsRows);
    const auto row = [&rows](int number, std::string text) {
        rows[static_cast<std::size_t>(number - 1)] = std::move(text);
    };
    row(1, "IMRT");
    row(2, name);
    row(3, ID);
    row(4, gantry);
    row(5, jaws);
    row(6, couch);
    row(15, G(SSD));
    row(16, FormatFloat("0.00", depth));
    row(17, G(realSSD));
    if (pointDose.MUperCGy > 0) {
        row(33, F3(1 / pointDose.MUperCGy));
    }
    row(34, FormatShortDate(printDay));
    row(36, G(dose));
    row(37, F2(MU));
    return rows;
}

std::vector<SetupCell> TDynamicBeam::SetupRow() const {
    if (!calculated) {
        return {};
    }
    return {
        {SetupColumn::Fascio, {name}},    {SetupColumn::IDFascio, {ID}},
        {SetupColumn::DSP, {G(realSSD)}}, {SetupColumn::RotGantry, {gantry}},
        {SetupColumn::RotColl, {jaws}},   {SetupColumn::RotLettino, {couch}},
        {SetupColumn::Blocchi, {"MLC"}},  {SetupColumn::UM, {MUFormat(WholeMU(MU))}},
    };
}

std::vector<NamedValue> TDynamicBeam::Inputs() const {
    return BoundValues(Table(), input);
}

std::vector<NamedValue> TDynamicBeam::Factors() const {
    return {{"dosePerMU", pointDose.dose},
            {"kovaDose", kovaDose ? ReportedValue(*kovaDose) : std::monostate{}},
            {"segments", static_cast<int>(pointDose.segments.size())},
            {"meanDepth", pointDose.meanDepth},
            {"transmissionShare", pointDose.transmissionShare},
            {"leafTransmission", mlc.leafTransmission},
            {"leafGap", mlc.leafGap},
            {"MUperCGy", pointDose.MUperCGy}};
}

std::unique_ptr<BeamForm> TDynamicBeam::CreateForm() {
    return std::make_unique<DynamicBeamForm>(*this);
}

DynamicBeamForm::DynamicBeamForm(TDynamicBeam& beam) : BoundForm(Table()), m_beam(beam) {
    TextRef(kBeamName) = beam.name;
}

Status DynamicBeamForm::Accept(const Date& today) {
    DynamicBeamInput in;
    if (Status read = ReadBound(in); !read) {
        return read;
    }
    return m_beam.Accept(in, today);
}

void DynamicBeamForm::LoadControls() {
    LoadBound(m_beam.input);
}

} // namespace kova
