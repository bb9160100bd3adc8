#include "core/beams/electron_beam.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/text/number_text.h"

#include <cmath>

namespace kova {

using namespace controls;

namespace {

using In = ElectronBeamInput;

/// An edit box of this kind's table (EditControl).
BoundControl<In> Edit(const auto&... args) {
    return EditControl<In>(args...);
}

/// In the order OK reads them: the identity, the dose, the field, the SSD and the TPS MU.
const BoundTable<In>& Table() {
    static const BoundTable<In> table = {
        Edit(kBeamName, &BeamFields::name, "name", 1),
        Edit(kBeamID, &BeamFields::ID, "ID", 2),
        Edit(kGantryRot, &BeamFields::gantry, "gantry", 3),
        Edit(kJawsRot, &BeamFields::jaws, "jaws", 4),
        Edit(kCouchRot, &BeamFields::couch, "couch", 5),
        Required(Edit(kBeamDose, &BeamFields::dose, "dose", 6, "0", "Dose")),
        {{kBeamSSD, ControlType::Shown, "0", 0, 0, 1, "SSD"}, &BeamFields::SSD, "SSD", 9},
        Required(Edit(kBeamWidth, &BeamFields::width, "width", 7, "0", "Width")),
        Required(Edit(kBeamHeight, &BeamFields::height, "height", 8, "0", "Height")),
        {{kApplicatorComp, ControlType::List, "", 0, 0, 2},
         EntryAt<In, &ElectronBeamInput::applicator>(),
         "applicator",
         11},
        Edit(kTPSMU, &BeamFields::tpsMU, "", 10, "", "TPS MU"),
    };
    return table;
}

std::string OneDecimal(double value) {
    return FormatFloat("#0.0;;0", value);
}

} // namespace

Status TElectronBeam::Accept(const ElectronBeamInput& in, const Date& today) {
    if (machine.linac == nullptr || machine.eEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and an electron energy");
    }
    if (Status dose = CheckDose(in.dose, DoseRule::AboveZero); !dose) {
        return dose;
    }
    for (const auto& [what, side] : {std::pair{"Width", in.width}, {"Height", in.height}}) {
        if (!std::isfinite(side)) {
            return Status::Fail(std::string(what) + " is " + FigureText(side));
        }
        const std::string size = std::string(what) + " " + FigureText(side, "cm");
        if (side <= 0) {
            return Status::Fail(size + " must be above 0 cm");
        }
        if (side > kMaxElectronField) {
            return Status::Fail(size + " is above the maximum " +
                                FigureText(kMaxElectronField, "cm") + " of an electron field");
        }
    }
    if (in.applicator == nullptr) {
        return Status::Fail("No applicator is chosen: the energy " + machine.eEnergy->Name +
                            " has none to choose");
    }
    // The applicator factor is the output at the energy's SSD and 90% depth: no other
    // correction enters an electron beam.
    const Result<double> mu = DeliverableMU(in.dose, {{"Applicator Factor", in.applicator->AF}}, {},
                                            1, DoseRule::AboveZero);
    if (!mu) {
        return mu.status();
    }
    static_cast<BeamFields&>(*this) = in;
    applicator = in.applicator;
    applicatorFactor = in.applicator->AF;
    traces.clear();
    AddTrace(traces,
             EntryTrace(TraceRule::Entry, "applicators of " + machine.eEnergy->Name,
                        applicator->Name, "Applicator Factor", applicatorFactor),
             "applicatorFactor", "Applicator Factor");
    MU = *mu;
    day = today;
    calculated = true;
    return Status::Ok();
}

std::vector<TextNode> TElectronBeam::ShowResults() const {
    if (!calculated || applicator == nullptr) {
        return {};
    }
    return {Line("Size @ SCD = " + G(width) + " cm x " + G(height) + " cm"), RotationLine(*this),
            Line("Dose = " + G(dose) + " cGy"), Line("MU = " + MUFormat(MU)),
            Traced(Line(applicator->Name + " (" + G(applicatorFactor) + " cGy/MU)", {},
                        kImageApplicatorLine),
                   traces, "applicatorFactor")};
}

std::vector<std::string> TElectronBeam::DetailsColumn(const Date& printDay) const {
    std::vector<std::string> rows(kDetailsRows);
    const auto row = [&rows](int number, std::string text) {
        rows[static_cast<std::size_t>(number - 1)] = std::move(text);
    };
    row(1, "e-");
    row(2, name);
    row(3, ID);
    row(4, gantry);
    row(5, jaws);
    row(6, couch);
    row(9, G(width));
    row(10, G(height));
    row(11, OneDecimal(equivSize));
    row(15, G(SSD));
    row(17, G(realSSD));
    row(27, applicator != nullptr ? applicator->Name : "");
    row(33, F3(applicatorFactor));
    row(34, FormatShortDate(printDay));
    row(36, G(dose));
    row(37, F2(MU));
    return rows;
}

std::vector<SetupCell> TElectronBeam::SetupRow() const {
    if (!calculated) {
        return {};
    }
    // Electron fields are always written as symmetric, whatever the energy's print option.
    return {
        {SetupColumn::Fascio, {name}},
        {SetupColumn::IDFascio, {ID}},
        {SetupColumn::DSP, {G(realSSD)}},
        {SetupColumn::DimCampoWidth, {SetupSize(width)}},
        {SetupColumn::DimCampoHeight, {SetupSize(height)}},
        {SetupColumn::RotGantry, {gantry}},
        {SetupColumn::RotColl, {jaws}},
        {SetupColumn::RotLettino, {couch}},
        {SetupColumn::Blocchi, {applicator != nullptr ? applicator->Name : "NO"}},
        {SetupColumn::UM, {MUFormat(WholeMU(MU))}},
    };
}

std::vector<const EnergyListItem*> TElectronBeam::UsedEntries() const {
    if (applicator == nullptr) {
        return {};
    }
    return {applicator};
}

ElectronBeamInput TElectronBeam::StoredInput() const {
    ElectronBeamInput in;
    static_cast<BeamFields&>(in) = *this;
    in.applicator = applicator;
    return in;
}

std::vector<NamedValue> TElectronBeam::Inputs() const {
    std::vector<NamedValue> values = BoundValues(Table(), StoredInput());
    // Worked out from the controls, not typed.
    values.insert(values.end(), {{"equivSize", equivSize}, {"depth", depth}, {"realSSD", realSSD}});
    return values;
}

std::vector<NamedValue> TElectronBeam::Factors() const {
    return {{"applicatorFactor", applicatorFactor}};
}

PlotMarks TElectronBeam::LookupMarks() const {
    const TeEnergy* energy = machine.eEnergy;
    if (!calculated || energy == nullptr) {
        return {};
    }
    for (std::size_t i = 0; i < energy->Applicators.size(); ++i) {
        if (energy->Applicators[i].get() == applicator) {
            return {{PlotKind::ApplicatorFactors, {static_cast<double>(i), applicatorFactor}}};
        }
    }
    return {};
}

std::unique_ptr<BeamForm> TElectronBeam::CreateForm() {
    return std::make_unique<ElectronBeamForm>(*this);
}

ElectronBeamForm::ElectronBeamForm(TElectronBeam& beam) : BoundForm(Table()), m_beam(beam) {
    TextRef(kBeamName) = beam.name;
    if (const TeEnergy* energy = beam.machine.eEnergy) {
        TextRef(kBeamSSD) = G(energy->SSD);
        SetItems(kApplicatorComp, ApplicatorItems(*energy), 0);
    }
}

Result<ElectronBeamInput> ElectronBeamForm::ReadInput() const {
    ElectronBeamInput in;
    if (Status read = ReadBound(in); !read) {
        return read;
    }
    in.equivSize = EquivalentSquare(in.width, in.height);
    in.realSSD = in.SSD;
    if (m_beam.machine.eEnergy != nullptr) {
        in.depth = m_beam.machine.eEnergy->Buildup90;
    }
    return in;
}

Status ElectronBeamForm::Accept(const Date& today) {
    const Result<ElectronBeamInput> input = ReadInput();
    if (!input) {
        return input.status();
    }
    return m_beam.Accept(*input, today);
}

void ElectronBeamForm::LoadControls() {
    LoadBound(m_beam.StoredInput());
}

} // namespace kova
