#include "core/beams/tbi_beam.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/linac/energy.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>

namespace kova {

using namespace controls;

namespace {

enum Rule { kNoRule, kLungShieldsRule, kBuildRule };

/// Lung paths are looked up on a 33 x 33 cm field, water paths on 50 x 50 cm.
constexpr double kLungField = 33;
constexpr double kWaterField = 50;

std::string Cm(double value) {
    return FigureText(value, "cm");
}

/// A body value within the sizes of a person.
Status CheckBodyValue(const TBIBodyValue& value, double v) {
    const std::string it = " (it is " + FigureText(v, value.unit) + ")";
    if (!(v > value.above)) {
        return Status::Fail(std::string(value.what) + " must be above " +
                            FigureText(value.above, value.unit) + it);
    }
    if (!(v <= value.atMost)) {
        return Status::Fail(std::string(value.what) + " must be at most " +
                            FigureText(value.atMost, value.unit) + it);
    }
    return Status::Ok();
}

Status CheckInput(const TBIBeamInput& in) {
    if (Status dose = CheckDose(in.dose, DoseRule::AboveZero); !dose) {
        return dose;
    }
    for (const TBIBodyValue& value : TBIBodyValues()) {
        if (!value.lung || in.isLungShields) {
            if (Status checked = CheckBodyValue(value, in.*value.member); !checked) {
                return checked;
            }
        }
    }
    if (!(in.doseDistance <= kMaxTBIDistance)) {
        return Status::Fail("The dose point distance " + Cm(in.doseDistance) +
                            " is above the maximum " + Cm(kMaxTBIDistance));
    }
    // A point closer to the source than its own depth has no SSD: no factor is defined.
    const std::pair<const char*, double> halves[] = {{"abdomen", in.AbdomenDepth / 2},
                                                     {"thorax", in.ThoraxDepth / 2},
                                                     {"head", in.HeadDepth / 2}};
    for (const auto& [part, half] : halves) {
        if (!(in.doseDistance - half > 0)) {
            return Status::Fail("The dose point distance " + Cm(in.doseDistance) +
                                " is not beyond half the " + part + " thickness (" + Cm(half) +
                                ")");
        }
    }
    return Status::Ok();
}

/// Depth dose, phantom scatter and scale factor of one dose point.
Result<TBIPoint> PointFigures(const TgEnergy& energy, double ssd, double depth, double width,
                              double height) {
    TBIPoint point;
    point.SSD = ssd;
    point.depth = depth;
    const Result<DepthDoseSet> depthDose =
        LookupDepthDose(energy, ssd, depth, depth, width, height);
    if (!depthDose) {
        return depthDose.status();
    }
    point.depthDose = *depthDose;
    const Result<TableValue> scatter = LookupPhantomScatter(energy, width, height);
    if (!scatter) {
        return scatter.status();
    }
    point.phantomScatter = *scatter;
    point.scaleFactor = InverseSquareScale(energy, ssd);
    return point;
}

/// The transmission and thickness of the lung shields.
Status LungShields(const TgEnergy& energy, const TBIBeamInput& in, TBIFactors& f) {
    const TBIBody& body = in;
    const double density = body.MeanCTLungs * 0.001 + 1;
    const double waterDepth = body.MeanLungDepth * 0.5 + body.MeanSkinLungDepth;
    const double lungDepth = body.MeanLungDepth * density * 0.5 + body.MeanSkinLungDepth;
    const Result<DepthDoseSet> lung =
        LookupDepthDose(energy, in.SSD, lungDepth, lungDepth, kLungField, kLungField);
    if (!lung) {
        return lung.status();
    }
    const Result<DepthDoseSet> water =
        LookupDepthDose(energy, in.SSD, waterDepth, waterDepth, kWaterField, kWaterField);
    if (!water) {
        return water.status();
    }
    f.lungShieldFactor = lung->tmr / (water->tmr * kLungTarget);
    if (!std::isfinite(f.lungShieldFactor) || !(f.lungShieldFactor > 0)) {
        return Status::Fail("The lung shield factor is " + FigureText(f.lungShieldFactor) +
                            ": no lung shield thickness can be computed");
    }
    f.lungShieldThickness = std::log(f.lungShieldFactor) / kLungMu;
    return Status::Ok();
}

/// The three dose points and the reference field.
Status PointsAndReference(const TgEnergy& energy, const TBIBeamInput& in, TBIFactors& f) {
    const TBIBody& body = in;
    const double thoraxDepth = body.ThoraxDepth * 0.5;
    const double headDepth = body.HeadDepth * 0.5;
    const Result<TBIPoint> torso =
        PointFigures(energy, in.SSD, in.depth, body.AbdomenWidth, body.TorsoHeight);
    if (!torso) {
        return torso.status();
    }
    const Result<TBIPoint> thorax = PointFigures(energy, in.doseDistance - thoraxDepth, thoraxDepth,
                                                 body.ThoraxWidth, body.TorsoHeight);
    if (!thorax) {
        return thorax.status();
    }
    const Result<TBIPoint> head = PointFigures(energy, in.doseDistance - headDepth, headDepth,
                                               body.HeadWidth, body.HeadHeight);
    if (!head) {
        return head.status();
    }
    f.torso = *torso;
    f.thorax = *thorax;
    f.head = *head;
    const double size = energy.TBIFieldSize;
    const Result<TableValue> fieldFactor = LookupFieldFactor(energy, size, size);
    if (!fieldFactor) {
        return fieldFactor.status();
    }
    const Result<TableValue> scatter = LookupPhantomScatter(energy, size, size);
    if (!scatter) {
        return scatter.status();
    }
    f.refFieldFactor = *fieldFactor;
    f.refPhantomScatter = *scatter;
    return Status::Ok();
}

/// Dose at a point from the MU before the shield: PDD x Sp x OF_ref x ISF x MU / Sp_ref.
double PointDose(const TBIPoint& p, const TBIFactors& f, double mu) {
    return p.depthDose.ssdPDD * p.phantomScatter.value * f.refFieldFactor.value * p.scaleFactor *
           mu / f.refPhantomScatter.value;
}

/// MU = D x Sp_ref / (PDD x Sp x OF_ref x ISF) x k / SF, with the head and thorax doses of
/// the MU before the shield.
Status MonitorUnits(const TBIBeamInput& in, TBIFactors& f, double& mu) {
    const TBIPoint& t = f.torso;
    const std::vector<NamedFactor> torso = {
        {"torso SSD PDD", t.depthDose.ssdPDD},
        {"torso Phantom Scatter Factor", t.phantomScatter.value},
        {"reference Field Factor", f.refFieldFactor.value},
        {"torso Scale Factor", t.scaleFactor}};
    // The head and thorax doses are divided by the reference phantom scatter too.
    std::vector<NamedFactor> divisors = torso;
    divisors.insert(divisors.end(),
                    {{"reference Phantom Scatter Factor", f.refPhantomScatter.value},
                     {"Shield Factor", f.shieldFactor}});
    if (Status checked = CheckDivisors(divisors); !checked) {
        return checked;
    }
    const Result<double> open = DeliverableMU(in.dose * f.refPhantomScatter.value, torso, {},
                                              f.MUperCGy, DoseRule::AboveZero);
    if (!open) {
        return open.status();
    }
    f.headDose = PointDose(f.head, f, *open);
    f.thoraxDose = PointDose(f.thorax, f, *open);
    const Result<double> shielded =
        DeliverableMU(*open, {{"Shield Factor", f.shieldFactor}}, {}, 1, DoseRule::AboveZero);
    if (!shielded) {
        return shielded.status();
    }
    mu = *shielded;
    return Status::Ok();
}

} // namespace

const std::array<TBIBodyValue, 11>& TBIBodyValues() {
    static const std::array<TBIBodyValue, 11> values = {{
        // Widths across the beam up to 100 cm and thicknesses along it up to 80 cm hold the
        // largest adults lying on their side; a lung is less dense than water (0 HU).
        {"HeadWidth", &TBIBody::HeadWidth, 5, 40, false, 15.5, "Head width", "cm"},
        {"HeadHeight", &TBIBody::HeadHeight, 5, 50, false, 20.5, "Head height", "cm"},
        {"HeadDepth", &TBIBody::HeadDepth, 5, 40, false, 18.5, "Head thickness", "cm"},
        {"ThoraxWidth", &TBIBody::ThoraxWidth, 10, 100, false, 27.5, "Thorax width", "cm"},
        {"ThoraxDepth", &TBIBody::ThoraxDepth, 10, 80, false, 21, "Thorax thickness", "cm"},
        {"AbdomenWidth", &TBIBody::AbdomenWidth, 10, 100, false, 31, "Abdomen width", "cm"},
        {"AbdomenDepth", &TBIBody::AbdomenDepth, 10, 80, false, 27, "Abdomen thickness", "cm"},
        {"TorsoHeight", &TBIBody::TorsoHeight, 10, 100, false, 30, "Torso height", "cm"},
        {"MeanLungDepth", &TBIBody::MeanLungDepth, 3, 40, true, 11.57, "Lung thickness", "cm"},
        {"MeanSkinLungDepth", &TBIBody::MeanSkinLungDepth, 1, 30, true, 3.16,
         "Skin to lung distance", "cm"},
        {"MeanCTLungs", &TBIBody::MeanCTLungs, -800, 0, true, -659, "Mean lung CT number", "HU"},
    }};
    return values;
}

const BoundTable<TBIBeamInput>& TBIBeamForm::Table() {
    using In = TBIBeamInput;
    // Read by OK in this order: the identity, the dose, the body, the dose point distance, the
    // TPS MU; the box and the shield cannot fail.
    static const BoundTable<In> table = [] {
        const auto edit = [](std::string_view name, ValueSlot<In> slot, std::string_view key,
                             int read, std::string_view text = "0",
                             std::string_view caption = {}) -> BoundControl<In> {
            return {{name, ControlType::Edit, text, kNoRule, 0, 1, caption}, slot, key, read};
        };
        BoundTable<In> rows = {
            edit(kBeamName, &BeamFields::name, "name", 1, ""),
            edit(kBeamID, &BeamFields::ID, "ID", 2, ""),
            edit(kGantryRot, &BeamFields::gantry, "gantry", 3, ""),
            edit(kJawsRot, &BeamFields::jaws, "jaws", 4, ""),
            edit(kCouchRot, &BeamFields::couch, "couch", 5, ""),
            Required(edit(kBeamDose, &BeamFields::dose, "dose", 6, "0", "Total dose")),
            edit(kBeamRefDistance, &TBIFields::doseDistance, "doseDistance", 20, "0",
                 "Dose point distance"),
            {{kBeamWidth, ControlType::Shown, "0"}, {}, {}, 0},
            {{kBeamHeight, ControlType::Shown, "0"}, {}, {}, 0},
            {{kShieldComp, ControlType::List, "", kNoRule, 0, 2},
             EntryAt<In, &TBIFields::shield>(),
             "shield",
             22},
        };
        int read = 7;
        for (const TBIBodyValue& value : TBIBodyValues()) {
            rows.push_back(
                Required(edit(value.name, value.member, value.name, read++, "0", value.what)));
        }
        // The box comes first in a batch, so that the lung edits are open or closed before
        // they are typed; "Normal Build" stands among the edits, in the order given.
        rows.push_back({{kIsLungShields, ControlType::Check, "1", kLungShieldsRule, 0, 0},
                        &TBIFields::isLungShields,
                        kIsLungShields,
                        22});
        rows.push_back({{kBuild, ControlType::Action, "", kBuildRule, 0, 1}, {}, {}, 0});
        rows.push_back(edit(kTPSMU, &BeamFields::tpsMU, {}, 21, "", "TPS MU"));
        return rows;
    }();
    return table;
}

Result<TBIFactors> CalculateTBIBeam(const TgEnergy& energy, const TBIBeamInput& in,
                                    const Date& today, double& mu) {
    TBIFactors f;
    if (in.isLungShields) {
        if (Status lungs = LungShields(energy, in, f); !lungs) {
            return lungs;
        }
    }
    if (Status points = PointsAndReference(energy, in, f); !points) {
        return points;
    }
    f.shieldFactor = in.shield != nullptr ? in.shield->SF : 1;
    const Result<double> muPerCGy = CalibrationMUPerCGy(energy, today);
    if (!muPerCGy) {
        return muPerCGy.status();
    }
    f.MUperCGy = *muPerCGy;
    if (Status monitorUnits = MonitorUnits(in, f, mu); !monitorUnits) {
        return monitorUnits;
    }
    return f;
}

Status TTBIBeam::Accept(const TBIBeamInput& in, const Date& today) {
    if (machine.linac == nullptr || machine.gEnergy == nullptr) {
        return Status::Fail("The beam has no treatment with a linac and a photon energy");
    }
    if (Status checked = CheckInput(in); !checked) {
        return checked;
    }
    double mu = 0;
    const Result<TBIFactors> result = CalculateTBIBeam(*machine.gEnergy, in, today, mu);
    if (!result) {
        return result.status();
    }
    static_cast<BeamFields&>(*this) = in;
    static_cast<TBIFields&>(*this) = in;
    factors = *result;
    MU = mu;
    day = today;
    calculated = true;
    return Status::Ok();
}

std::vector<const EnergyListItem*> TTBIBeam::UsedEntries() const {
    if (shield == nullptr) {
        return {};
    }
    return {shield};
}

TBIBeamInput TTBIBeam::StoredInput() const {
    TBIBeamInput in;
    static_cast<BeamFields&>(in) = *this;
    static_cast<TBIFields&>(in) = *this;
    return in;
}

std::unique_ptr<BeamForm> TTBIBeam::CreateForm() {
    return std::make_unique<TBIBeamForm>(*this);
}

TBIBeamForm::TBIBeamForm(TTBIBeam& beam) : BoundForm(Table()), m_beam(beam) {
    TextRef(kBeamName) = beam.name;
    SetItems(kBuild, OptionItems({"Normal Build"}), -1);
    if (const TgEnergy* energy = beam.machine.gEnergy) {
        TextRef(kBeamWidth) = G(energy->TBIFieldSize);
        TextRef(kBeamHeight) = G(energy->TBIFieldSize);
        TextRef(kBeamRefDistance) = G(energy->TBIRef);
        SetItems(kShieldComp, ShieldItems(*energy, beam.adHoc));
    }
}

Status TBIBeamForm::CanSet(std::string_view name) const {
    for (const TBIBodyValue& value : TBIBodyValues()) {
        if (value.lung && value.name == name && !Checked(kIsLungShields)) {
            return Status::Fail(std::string(name) +
                                " is used only with lung shields (isLungShields = 1)");
        }
    }
    return BeamForm::CanSet(name);
}

bool TBIBeamForm::NeededNow(const ControlSpec& control,
                            const std::vector<std::string_view>& set) const {
    for (const TBIBodyValue& value : TBIBodyValues()) {
        if (value.name == control.name) {
            const bool built = std::find(set.begin(), set.end(), kBuild) != set.end();
            return !built && (!value.lung || Checked(kIsLungShields));
        }
    }
    return BeamForm::NeededNow(control, set);
}

Status TBIBeamForm::RunRule(const ControlSpec& control) {
    if (control.rule == kLungShieldsRule) {
        EnableLungEdits();
    } else if (control.rule == kBuildRule) {
        for (const TBIBodyValue& value : TBIBodyValues()) {
            TextRef(value.name) = G(value.normalBuild);
        }
    }
    return Status::Ok();
}

void TBIBeamForm::EnableLungEdits() {
    for (const TBIBodyValue& value : TBIBodyValues()) {
        if (value.lung) {
            SetEnabled(value.name, Checked(kIsLungShields));
        }
    }
}

std::vector<ModifierItem> TBIBeamForm::MakeOnFly(std::string_view name, const ModifierValue& value,
                                                 const EnergyListItem*& made) {
    const TgEnergy* energy = m_beam.machine.gEnergy;
    if (name != kShieldComp || energy == nullptr) {
        made = nullptr;
        return Items(name);
    }
    made = MakeAdHocEntry(m_beam.adHoc.shields, value, &Shield::SF);
    return ShieldItems(*energy, m_beam.adHoc);
}

Result<TBIBeamInput> TBIBeamForm::ReadInput() const {
    TBIBeamInput in;
    if (Status read = ReadBound(in); !read) {
        return read;
    }
    in.width = in.AbdomenWidth;
    in.height = in.TorsoHeight;
    in.equivSize = EquivalentSquare(in.width, in.height);
    in.depth = in.AbdomenDepth * 0.5;
    in.SSD = in.doseDistance - in.depth;
    in.realSSD = in.doseDistance;
    return in;
}

Status TBIBeamForm::Accept(const Date& today) {
    const Result<TBIBeamInput> input = ReadInput();
    if (!input) {
        return input.status();
    }
    return m_beam.Accept(*input, today);
}

void TBIBeamForm::LoadControls() {
    if (const TgEnergy* energy = m_beam.machine.gEnergy) {
        // The shields the beam made on the spot are offered again.
        SetItems(kShieldComp, ShieldItems(*energy, m_beam.adHoc));
    }
    LoadBound(m_beam.StoredInput());
}

} // namespace kova
