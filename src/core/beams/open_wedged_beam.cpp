#include "core/beams/open_wedged_beam.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

namespace kova {
namespace {

/// The photon controls with the wedge dose right after the dose, read right after it.
BoundTable<PhotonBeamInput> OpenWedgedControls() {
    BoundTable<PhotonBeamInput> table = PhotonBeamForm::Table();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it->control.name == controls::kBeamDose) {
            BoundControl<PhotonBeamInput> wedgeDose = *it;
            wedgeDose.control.name = controls::kBeamWedgeDose;
            wedgeDose.control.caption = "Wedge dose";
            wedgeDose.slot = &PhotonBeamInput::wedgeDose;
            wedgeDose.key = "wedgeDose";
            // Its default 0 cGy is a real value: a beam of its open part only.
            wedgeDose.control.required = false;
            table.insert(it + 1, wedgeDose);
            break;
        }
    }
    return table;
}

Status CheckDoses(const PhotonBeamInput& in, double wedgeDose) {
    if (!(wedgeDose >= 0)) {
        return Status::Fail("The wedge dose must be 0 cGy or above");
    }
    if (!(in.dose + wedgeDose > 0)) {
        return Status::Fail("The open and wedge doses must add up to more than 0 cGy");
    }
    if (!(in.dose + wedgeDose <= kMaxBeamDose)) {
        return Status::Fail("The open and wedge doses add up to " +
                            FigureText(in.dose + wedgeDose, "cGy") + ", above the maximum " +
                            FigureText(kMaxBeamDose, "cGy") + " of one beam");
    }
    if (wedgeDose > 0 && in.wedge == nullptr) {
        // Otherwise the dose total would count a wedged dose that no MU delivers.
        return Status::Fail("A wedge dose needs a wedge: choose one of the available wedges");
    }
    return Status::Ok();
}

/// The wedged part: wedge factors, warped depth dose and its MU.
Status WedgedPart(const TgEnergy& energy, const PhotonBeamInput& in, double wedgeDose,
                  OpenWedgedCalculation& calc) {
    PhotonFactors& f = calc.open.factors;
    const Result<WedgeFactors> wedge = WedgeFactorsAt(*in.wedge, in.equivSize);
    if (!wedge) {
        return wedge.status();
    }
    f.wedgeFactor = wedge->WF;
    f.warpFactor = wedge->PDDWarp;
    f.effectiveDepth = EffectiveDepth(in.depth, energy.Buildup, f.warpFactor);
    const Result<DepthDoseSet> wedged = DepthDoseAt(energy, in, f.effectiveDepth);
    if (!wedged) {
        return wedged.status();
    }
    calc.wedged = *wedged;
    std::vector<NamedFactor> each = {{"Wedge Factor", f.wedgeFactor},
                                     {"Shield Factor", f.shieldFactor}};
    if (!in.wedge->isOffsetWedged) {
        each.push_back({"Offset Factor", f.offsetFactor});
    }
    each.push_back({"Tray Factor", f.trayFactor});
    each.push_back({"Multileaf Factor", f.multileafFactor});
    const Result<double> mu = DeliverableMU(wedgeDose,
                                            {{"wedged SSD PDD", wedged->ssdPDD},
                                             {"Field Factor", f.fieldFactor},
                                             {"Scale Factor", f.scaleFactor}},
                                            each, f.MUperCGy, DoseRule::AboveZero);
    if (!mu) {
        return mu.status();
    }
    calc.wedgeMU = *mu;
    return Status::Ok();
}

/// The open part: never warped, never wedged.
Status OpenPart(const TgEnergy& energy, const Date& today, PhotonCalculation& calc) {
    PhotonBeamInput& in = calc.stored;
    PhotonFactors& f = calc.factors;
    if (Status common = FieldAndModifierFactors(energy, in, f); !common) {
        return common;
    }
    f.effectiveDepth = in.depth;
    const Result<DepthDoseSet> open = DepthDoseAt(energy, in, in.depth);
    if (!open) {
        return open.status();
    }
    f.SetDepthDose(*open);
    // The wedge factor is still 1 here: the open part never carries it.
    return OffsetCalibrationAndMU(energy, today, DoseRule::ZeroOrAbove, calc);
}

} // namespace

Result<OpenWedgedCalculation> CalculateOpenWedgedBeam(const TLinacSpec& linac,
                                                      const TgEnergy& energy,
                                                      const PhotonBeamInput& input,
                                                      double wedgeDose, const Date& today) {
    PhotonBeamInput typed = input;
    if (wedgeDose == 0) {
        typed.wedge = nullptr; // a beam without wedged dose never carries a wedge
    }
    Result<PhotonBeamInput> atPlane = AtCalibrationPlane(linac, energy, typed);
    if (!atPlane) {
        return atPlane.status();
    }
    OpenWedgedCalculation calc;
    calc.open.stored = *atPlane;
    const PhotonBeamInput& in = calc.open.stored;
    if (Status checked = CheckPhotonInput(linac, energy, in, DoseRule::ZeroOrAbove); !checked) {
        return checked;
    }
    if (Status doses = CheckDoses(in, wedgeDose); !doses) {
        return doses;
    }
    if (Status open = OpenPart(energy, today, calc.open); !open) {
        return open;
    }
    if (in.wedge != nullptr) {
        if (Status wedged = WedgedPart(energy, in, wedgeDose, calc); !wedged) {
            return wedged;
        }
    }
    return calc;
}

Status TPhotonOWBeam::Accept(const PhotonBeamInput& input, double wedgeDose, const Date& today) {
    if (machine.linac == nullptr || machine.gEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and a photon energy");
    }
    const Result<OpenWedgedCalculation> result =
        CalculateOpenWedgedBeam(*machine.linac, *machine.gEnergy, input, wedgeDose, today);
    if (!result) {
        return result.status();
    }
    Store(input, result->open, today);
    WedgeDose = wedgeDose;
    WedgeMU = result->wedgeMU;
    wedgedDepthDose = result->wedged;
    return Status::Ok();
}

std::string TPhotonOWBeam::MUText() const {
    if (wedge == nullptr) {
        return MUFormat(MU);
    }
    return MUFormat(MU) + " + " + MUFormat(WedgeMU) + " (wedged)";
}

std::vector<TextNode> TPhotonOWBeam::ShowResults() const {
    std::vector<TextNode> lines = TPhotonBeam::ShowResults();
    if (lines.empty() || wedge == nullptr) {
        return lines;
    }
    for (TextNode& node : lines.back().children) {
        if (node.image == kImageWedgeLine) {
            node.children.push_back(DepthDoseNode(wedgedDepthDose));
        }
    }
    lines.push_back(Line("Wedge Dose = " + G(WedgeDose) + " cGy"));
    lines.push_back(Line("Wedge MU = " + MUFormat(WedgeMU)));
    return lines;
}

std::vector<std::string> TPhotonOWBeam::DetailsColumn(const Date& printDay) const {
    std::vector<std::string> rows = TPhotonBeam::DetailsColumn(printDay);
    if (wedge == nullptr) {
        return rows;
    }
    const DepthDoseSet& w = wedgedDepthDose;
    const PhotonFactors& f = factors;
    // The equivalent size of the depth dose, SSD PDD, SCD PDD, TMR, dose and MU rows pair the
    // open part's value with the wedged part's.
    rows[11] = F2(f.scdPDDSize) + kPair + F2(w.scdPDDSize);
    rows[17] = F3(f.ssdPDD) + kPair + F3(w.ssdPDD);
    rows[18] = F3(f.scdPDD) + kPair + F3(w.scdPDD);
    rows[19] = F3(f.tmr) + kPair + F3(w.tmr);
    rows[35] = G(dose) + kPair + G(WedgeDose);
    rows[36] = F2(MU) + kPair + F2(WedgeMU);
    return rows;
}

std::vector<SetupCell> TPhotonOWBeam::SetupRow() const {
    std::vector<SetupCell> cells = TPhotonBeam::SetupRow();
    if (wedge == nullptr) {
        return cells;
    }
    // With exactly 1 MU per cGy the room works in whole MU, part by part.
    const bool whole = factors.MUperCGy == 1;
    const double open = whole ? WholeMU(MU) : MU;
    const double wedged = whole ? WholeMU(WedgeMU) : WedgeMU;
    for (SetupCell& cell : cells) {
        if (cell.column == SetupColumn::UM) {
            cell.lines = {MUFormat(open + wedged), "(" + MUFormat(wedged) + ")"};
        }
    }
    return cells;
}

PhotonBeamInput TPhotonOWBeam::StoredInput() const {
    PhotonBeamInput in = TPhotonBeam::StoredInput();
    in.wedgeDose = WedgeDose;
    return in;
}

std::vector<NamedValue> TPhotonOWBeam::Inputs() const {
    return BoundValues(PhotonOWBeamForm::Table(), StoredInput());
}

std::vector<NamedValue> TPhotonOWBeam::Factors() const {
    std::vector<NamedValue> values = TPhotonBeam::Factors();
    const DepthDoseSet& w = wedgedDepthDose;
    values.insert(values.end(), {{"wedgeMU", WedgeMU},
                                 {"wedgedScdPDDSize", w.scdPDDSize},
                                 {"wedgedScdPDD", w.scdPDD},
                                 {"wedgedTmr", w.tmr},
                                 {"wedgedSsdPDD", w.ssdPDD},
                                 {"wedgedDepthDoseFromTable", w.fromTable}});
    return values;
}

std::unique_ptr<BeamForm> TPhotonOWBeam::CreateForm() {
    return std::make_unique<PhotonOWBeamForm>(*this);
}

const BoundTable<PhotonBeamInput>& PhotonOWBeamForm::Table() {
    static const BoundTable<PhotonBeamInput> table = OpenWedgedControls();
    return table;
}

PhotonOWBeamForm::PhotonOWBeamForm(TPhotonOWBeam& beam)
    : PhotonBeamForm(beam, Table()), m_owBeam(beam) {
    // An energy with a single wedge is nearly always used with it.
    if (energy() != nullptr && energy()->Wedges.size() == 1) {
        SelectQuietly(controls::kWedgeComp, 1);
    }
}

Status PhotonOWBeamForm::Accept(const Date& today) {
    if (linac() == nullptr) {
        return m_owBeam.Accept(PhotonBeamInput{}, 0, today);
    }
    Result<PhotonBeamInput> input = ReadCheckedInput();
    if (!input) {
        return input.status();
    }
    if (input->wedgeDose == 0) {
        SelectQuietly(controls::kWedgeComp, 0);
        input.value().wedge = nullptr;
    }
    const Status accepted = m_owBeam.Accept(*input, input->wedgeDose, today);
    if (accepted) {
        m_owBeam.sheet = fieldSheet();
    }
    return accepted;
}

} // namespace kova
