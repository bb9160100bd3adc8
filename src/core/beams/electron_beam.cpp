#include "core/beams/electron_beam.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/text/number_text.h"

namespace kova {
namespace {

std::vector<ControlSpec> ElectronControls() {
    return {
        {"BeamName", ControlType::Edit, ""},
        {"BeamID", ControlType::Edit, ""},
        {"GantryRot", ControlType::Edit, ""},
        {"JawsRot", ControlType::Edit, ""},
        {"CouchRot", ControlType::Edit, ""},
        {"BeamDose", ControlType::Edit, "0", 0, 0, 1, "Dose"},
        {"BeamSSD", ControlType::Shown, "0", 0, 0, 1, "SSD"},
        {"BeamWidth", ControlType::Edit, "0", 0, 0, 1, "Width"},
        {"BeamHeight", ControlType::Edit, "0", 0, 0, 1, "Height"},
        {"ApplicatorComp", ControlType::List, "", 0, 0, 2},
        {"TPSMU", ControlType::Edit, "", 0, 0, 1, "TPS MU"},
    };
}

std::string OneDecimal(double value) {
    return FormatFloat("#0.0;;0", value);
}

} // namespace

Status TElectronBeam::Accept(const ElectronBeamInput& in, const Date& today) {
    if (machine.linac == nullptr || machine.eEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and an electron energy");
    }
    if (!(in.dose > 0)) {
        return Status::Fail("The dose must be above 0 cGy");
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
    MU = *mu;
    day = today;
    calculated = true;
    return Status::Ok();
}

std::vector<TextNode> TElectronBeam::ShowResults() const {
    if (!calculated || applicator == nullptr) {
        return {};
    }
    return {
        Line("Size @ SCD = " + G(width) + " cm x " + G(height) + " cm"), RotationLine(*this),
        Line("Dose = " + G(dose) + " cGy"), Line("MU = " + MUFormat(MU)),
        Line(applicator->Name + " (" + G(applicatorFactor) + " cGy/MU)", {}, kImageApplicatorLine)};
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
    if (!calculated || applicator == nullptr) {
        return {};
    }
    return {applicator};
}

std::vector<NamedValue> TElectronBeam::Inputs() const {
    ReportedValue applicatorName = std::monostate{};
    if (applicator != nullptr) {
        applicatorName = applicator->Name;
    }
    return {{"name", name},
            {"ID", ID},
            {"gantry", gantry},
            {"jaws", jaws},
            {"couch", couch},
            {"dose", dose},
            {"width", width},
            {"height", height},
            {"equivSize", equivSize},
            {"depth", depth},
            {"SSD", SSD},
            {"realSSD", realSSD},
            {"applicator", applicatorName}};
}

std::vector<NamedValue> TElectronBeam::Factors() const {
    return {{"applicatorFactor", applicatorFactor}};
}

std::unique_ptr<BeamForm> TElectronBeam::CreateForm() {
    return std::make_unique<ElectronBeamForm>(*this);
}

ElectronBeamForm::ElectronBeamForm(TElectronBeam& beam)
    : BeamForm(ElectronControls()), m_beam(beam) {
    TextRef("BeamName") = beam.name;
    if (const TeEnergy* energy = beam.machine.eEnergy) {
        TextRef("BeamSSD") = G(energy->SSD);
        SetItems("ApplicatorComp", ApplicatorItems(*energy), 0);
    }
}

Result<ElectronBeamInput> ElectronBeamForm::ReadInput() const {
    ElectronBeamInput in;
    ReadIdentity(in);
    Status read = ReadNumbers({{"BeamDose", &in.dose},
                               {"BeamWidth", &in.width},
                               {"BeamHeight", &in.height},
                               {"BeamSSD", &in.SSD}});
    if (read) {
        read = ReadTPSMU(in);
    }
    if (!read) {
        return read;
    }
    in.equivSize = EquivalentSquare(in.width, in.height);
    in.realSSD = in.SSD;
    if (m_beam.machine.eEnergy != nullptr) {
        in.depth = m_beam.machine.eEnergy->Buildup90;
    }
    in.applicator = static_cast<const Applicator*>(SelectedEntry("ApplicatorComp"));
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
    const TElectronBeam& b = m_beam;
    ShowIdentity(b);
    TextRef("BeamWidth") = G(b.width);
    TextRef("BeamHeight") = G(b.height);
    TextRef("BeamDose") = G(b.dose);
    TextRef("BeamSSD") = G(b.SSD);
    ShowTPSMU(b);
    SelectEntryQuietly("ApplicatorComp", b.applicator);
}

} // namespace kova
