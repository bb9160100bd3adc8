#include "core/beams/photon_beam_form.h"

#include "core/beams/result_text.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <algorithm>

namespace kova {
namespace {

enum Rule { kNoRule, kTechnique, kDepth, kSymmetric, kJaw, kAsymmetricB };

constexpr int kSym = 1, kSheetA = 2, kSheetB = 3;

/// Batch steps: the technique, then identity and dose, the depth, the field, the SSDs, and
/// the modifiers last, as a user goes through the dialog.
enum Step { kStepTechnique = 0, kStepIdentity, kStepDepth, kStepField, kStepSsd, kStepModifiers };

ControlSpec Typed(std::string_view name, std::string_view text = "0", int step = kStepIdentity,
                  std::string_view caption = {}) {
    return {name, ControlType::Edit, text, kNoRule, 0, step, caption};
}

ControlSpec FieldEdit(std::string_view name, int rule, int sheet, std::string_view caption) {
    return {name, ControlType::Edit, "0", rule, sheet, kStepField, caption};
}

ControlSpec Shown(std::string_view name, std::string_view caption = {}) {
    return {name, ControlType::Shown, "0", kNoRule, 0, kStepModifiers, caption};
}

ControlSpec List(std::string_view name, ControlType type = ControlType::List) {
    return {name, type, "", kNoRule, 0, kStepModifiers};
}

} // namespace

FieldLabels FieldLabelsFor(const TLinacSpec* linac) {
    if (linac == nullptr) {
        return {};
    }
    return {"Width " + linac->WidthChar + " [cm]",   "Height " + linac->HeightChar + " [cm]",
            "Left " + linac->LeftChar + " [cm]",     "Right " + linac->RightChar + " [cm]",
            "Bottom " + linac->BottomChar + " [cm]", "Top " + linac->TopChar + " [cm]"};
}

std::vector<ControlSpec> PhotonBeamForm::ControlTable() {
    return {
        {"Technique", ControlType::Choice, "0", kTechnique, 0, kStepTechnique},
        Typed("BeamName", ""),
        Typed("BeamID", ""),
        Typed("GantryRot", ""),
        Typed("JawsRot", ""),
        Typed("CouchRot", ""),
        Typed("BeamDose", "0", kStepIdentity, "Dose"),
        {"BeamDepth", ControlType::Edit, "0", kDepth, 0, kStepDepth, "Depth"},
        Typed("BeamSSD", "0", kStepSsd, "SSD"),
        Typed("BeamRealSSD", "0", kStepSsd, "Real SSD"),
        FieldEdit("BeamWidth", kSymmetric, kSym, "Width"),
        FieldEdit("BeamHeight", kSymmetric, kSym, "Height"),
        FieldEdit("BeamLeft", kJaw, kSheetA, "Left"),
        FieldEdit("BeamRight", kJaw, kSheetA, "Right"),
        FieldEdit("BeamBottom", kJaw, kSheetA, "Bottom"),
        FieldEdit("BeamTop", kJaw, kSheetA, "Top"),
        FieldEdit("BeamWidthAsymm", kAsymmetricB, kSheetB, "Width"),
        FieldEdit("BeamHeightAsymm", kAsymmetricB, kSheetB, "Height"),
        FieldEdit("BeamAsymmWidth", kAsymmetricB, kSheetB, "Width asymmetry"),
        FieldEdit("BeamAsymmHeight", kAsymmetricB, kSheetB, "Height asymmetry"),
        Shown("BeamEquivSize", "Equiv. Size"),
        Shown("BeamOffset", "Offset"),
        List("WedgeComp"),
        List("TrayComp"),
        List("ShieldComp"),
        List("MultileafComp"),
        {"isOffset", ControlType::Check, "0", kNoRule, 0, kStepModifiers},
        Shown("OffsetComp"),
        Typed("TPSMU", "", kStepIdentity, "TPS MU"),
    };
}

PhotonBeamForm::PhotonBeamForm(TPhotonBeam& beam) : PhotonBeamForm(beam, ControlTable()) {
}

PhotonBeamForm::PhotonBeamForm(TPhotonBeam& beam, std::vector<ControlSpec> controls)
    : BeamForm(std::move(controls)), m_beam(beam) {
    if (beam.machine.linac != nullptr && beam.machine.gEnergy != nullptr) {
        m_linac = beam.machine.linac;
        m_energy = beam.machine.gEnergy;
    }
    // A new beam keeps the name of its node unless the user types another.
    TextRef("BeamName") = beam.name;
    SetItems("Technique", OptionItems({"Isocentric", "Not Isocentric"}), kIsocentric);
    SetReadOnly("BeamSSD", true);
    if (m_linac == nullptr) {
        return;
    }
    const bool asymmetric = AsymmetricSheetsEnabled();
    for (const ControlSpec& control : Controls()) {
        if (control.sheet == kSheetA || control.sheet == kSheetB) {
            SetEnabled(control.name, asymmetric);
        }
    }
    if (asymmetric) {
        SetEnabled("BeamAsymmWidth", m_linac->isAsymmetricFieldsOnWidth != 0);
        SetEnabled("BeamAsymmHeight", m_linac->isAsymmetricFieldsOnHeight != 0);
    }
    FillLists();
    SetEnabled("isOffset", OffsetAvailable(*m_energy));
    SetEnabled("OffsetComp", OffsetAvailable(*m_energy));
    SetEnabled("MultileafComp", m_energy->MLCSupported);
}

void PhotonBeamForm::FillLists() {
    SetItems("WedgeComp", WedgeItems(*m_energy));
    SetItems("TrayComp", TrayItems(*m_energy, m_beam.adHoc));
    SetItems("ShieldComp", ShieldItems(*m_energy, m_beam.adHoc));
    SetItems("MultileafComp", MultileafItems(*m_energy, m_beam.adHoc));
}

std::string PhotonBeamForm::IsocentricCaption() const {
    const double sad = m_linac != nullptr ? m_linac->SAD : 100;
    return "Isocentric (specify dose at isocenter SAD = " + G(sad) +
           " cm, field size at isocenter)";
}

bool PhotonBeamForm::AsymmetricSheetsEnabled() const {
    return m_linac != nullptr &&
           (m_linac->isAsymmetricFieldsOnWidth != 0 || m_linac->isAsymmetricFieldsOnHeight != 0);
}

bool PhotonBeamForm::SetSheet(int sheet) {
    if (sheet < kSym || sheet > kSheetB || (sheet != kSym && !AsymmetricSheetsEnabled())) {
        return false;
    }
    m_sheet = static_cast<FieldSheet>(sheet - 1);
    return true;
}

Status PhotonBeamForm::CanSet(std::string_view name) const {
    const ControlSpec* control = Find(name);
    if (control != nullptr && m_linac != nullptr) {
        if (name == "BeamSSD" && ReadOnly(name)) {
            return Status::Fail(
                "BeamSSD cannot be typed in the isocentric technique (it follows the depth)");
        }
        if ((control->sheet == kSheetA || control->sheet == kSheetB) &&
            !AsymmetricSheetsEnabled()) {
            return Status::Fail("the linac " + m_linac->Name + " has no independent jaws");
        }
        if ((name == "BeamAsymmWidth" || name == "BeamAsymmHeight") && !Enabled(name)) {
            return Status::Fail("this asymmetry cannot be set on the linac " + m_linac->Name);
        }
        if (name == "isOffset" && !Enabled(name)) {
            return Status::Fail("the energy " + m_energy->Name + " has no offset factors");
        }
        if (name == "MultileafComp" && !Enabled(name)) {
            return Status::Fail("multileaf factors are not available for " + m_energy->Name);
        }
    }
    return BeamForm::CanSet(name);
}

Status PhotonBeamForm::CheckBatchInput(const std::vector<std::string_view>& set) const {
    for (const std::string_view name : set) {
        const ControlSpec* control = Find(name);
        if (control != nullptr && control->sheet != 0) {
            return Status::Ok();
        }
    }
    return Status::Fail("the beam gives no field (BeamWidth and BeamHeight, the four jaws, or "
                        "the asymmetric sizes and shifts)");
}

void PhotonBeamForm::FollowUpCancelled(std::string_view name) {
    // A cancelled multileaf entry goes back to "None"; trays and shields keep
    // "Set on fly...", which carries no entry.
    if (name == "MultileafComp") {
        SelectQuietly(name, 0);
    }
}

std::vector<ModifierItem> PhotonBeamForm::MakeOnFly(std::string_view name,
                                                    const ModifierValue& value,
                                                    const EnergyListItem*& made) {
    made = nullptr;
    if (m_energy == nullptr) {
        return Items(name);
    }
    AdHocModifiers& adHoc = m_beam.adHoc;
    if (name == "TrayComp") {
        made = MakeAdHocEntry(adHoc.trays, value, &Tray::TF);
        return TrayItems(*m_energy, adHoc);
    }
    if (name == "ShieldComp") {
        made = MakeAdHocEntry(adHoc.shields, value, &Shield::SF);
        return ShieldItems(*m_energy, adHoc);
    }
    if (name == "MultileafComp") {
        made = MakeAdHocEntry(adHoc.multileafs, value, &MLCFValue::MLCF);
        return MultileafItems(*m_energy, adHoc);
    }
    return Items(name);
}

Status PhotonBeamForm::RunRule(const ControlSpec& control) {
    if (m_linac == nullptr) {
        return Status::Ok();
    }
    switch (control.rule) {
    case kTechnique:
        return TechniqueClick();
    case kDepth:
        if (m_technique == kIsocentric) {
            if (const auto ssd = IsocentricSsdText(Text("BeamDepth"), *m_linac)) {
                Apply({{"BeamSSD", *ssd}, {"BeamRealSSD", *ssd}});
            }
        }
        break;
    case kSymmetric:
        if (m_sheet == FieldSheet::Symmetric) {
            ApplyField(SymmetricFieldChanged(Text("BeamWidth"), Text("BeamHeight")));
        }
        break;
    case kJaw:
        if (m_sheet == FieldSheet::AsymmetricA) {
            const ControlTexts texts = JawFieldChanged(
                control.name,
                {Text("BeamLeft"), Text("BeamRight"), Text("BeamBottom"), Text("BeamTop")},
                *m_linac);
            // Without an equivalent size the typed jaw, or another, is not a number.
            const bool complete = std::any_of(texts.begin(), texts.end(), [](const auto& text) {
                return text.first == "BeamEquivSize";
            });
            Apply(texts);
            if (!complete) {
                ApplyField(std::nullopt);
            }
        }
        break;
    case kAsymmetricB:
        if (m_sheet == FieldSheet::AsymmetricB) {
            ApplyField(AsymmetricFieldChanged(Text("BeamWidthAsymm"), Text("BeamHeightAsymm"),
                                              Text("BeamAsymmWidth"), Text("BeamAsymmHeight")));
        }
        break;
    default:
        break;
    }
    return Status::Ok();
}

Status PhotonBeamForm::TechniqueClick() {
    const int technique = Selected("Technique");
    if (technique == m_technique) {
        return Status::Ok();
    }
    // The technique and the SSD's read-only state change before the depth is read, so a depth
    // that is not a number leaves the SSD texts as they were but the SSD locked.
    m_technique = technique;
    SetReadOnly("BeamSSD", technique == kIsocentric);
    const Result<SsdTexts> ssd =
        TechniqueChanged(technique, Text("BeamDepth"), *m_linac, *m_energy);
    if (!ssd) {
        return Captioned("BeamDepth", ssd.status());
    }
    Apply({{"BeamSSD", ssd->ssd}, {"BeamRealSSD", ssd->realSsd}});
    return Status::Ok();
}

void PhotonBeamForm::ApplyField(const std::optional<ControlTexts>& texts) {
    if (texts) {
        Apply(*texts);
        return;
    }
    // A size, jaw or shift that is not a number: no equivalent size or offset can be shown,
    // and a stale figure would look valid.
    Apply({{"BeamEquivSize", ""}, {"BeamOffset", ""}, {"OffsetComp", ""}});
}

void PhotonBeamForm::Apply(const ControlTexts& texts) {
    for (const auto& [name, text] : texts) {
        TextRef(name) = text;
    }
}

Result<PhotonBeamInput> PhotonBeamForm::ReadInput(double* wedgeDose) const {
    PhotonBeamInput in;
    in.technique = Selected("Technique");
    ReadIdentity(in);
    Status read = ReadNumbers({{"BeamDose", &in.dose}});
    if (read && wedgeDose != nullptr) {
        read = ReadNumbers({{"BeamWedgeDose", wedgeDose}});
    }
    if (read) {
        read = ReadNumbers({{"BeamLeft", &in.X1},
                            {"BeamRight", &in.X2},
                            {"BeamBottom", &in.Y1},
                            {"BeamTop", &in.Y2},
                            {"BeamWidth", &in.width},
                            {"BeamHeight", &in.height},
                            {"BeamEquivSize", &in.equivSize},
                            {"BeamOffset", &in.offset},
                            {"BeamDepth", &in.depth}});
    }
    if (read && in.technique == kFixedSsd) {
        read = ReadNumbers({{"BeamSSD", &in.SSD}});
    }
    if (read) {
        read = ReadNumbers({{"BeamRealSSD", &in.realSSD}});
    }
    if (read) {
        read = ReadTPSMU(in);
    }
    if (!read) {
        return read;
    }
    in.wedge = static_cast<const Wedge*>(SelectedEntry("WedgeComp"));
    in.tray = static_cast<const Tray*>(SelectedEntry("TrayComp"));
    in.shield = static_cast<const Shield*>(SelectedEntry("ShieldComp"));
    in.multileaf = static_cast<const MLCFValue*>(SelectedEntry("MultileafComp"));
    in.offsetOff = !Checked("isOffset");
    return in;
}

Result<JawSettings> PhotonBeamForm::CurrentJaws() const {
    return ParseJawSettings(Text("BeamLeft"), Text("BeamRight"), Text("BeamBottom"),
                            Text("BeamTop"), Text("BeamWidth"), Text("BeamHeight"));
}

Status PhotonBeamForm::CanUseCurrentJaws() const {
    if (m_energy == nullptr) {
        return Status::Fail("The beam has no treatment with a photon energy");
    }
    const Result<JawSettings> jaws = CurrentJaws();
    return jaws ? CheckUseCurrentJaws(*m_energy, *jaws) : jaws.status();
}

void PhotonBeamForm::SetRecommendedJaws(const MLCField& field) {
    for (const NamedText& text : RecommendedJawTexts(field)) {
        SetText(text.control, text.text);
    }
    // The jaws now stand as written on "Asymmetric A"; showing that sheet keeps the beam
    // stored with the sheet that holds its field, so editing or saving it keeps the shift.
    const MLCGeometry& g = field.geometry;
    if ((g.left != g.right || g.bottom != g.top) && AsymmetricSheetsEnabled()) {
        m_sheet = FieldSheet::AsymmetricA;
    }
}

Result<MLCFactors> PhotonBeamForm::MultileafFactorsOf(const MLCField& field) const {
    if (m_energy == nullptr) {
        return Result<MLCFactors>::Fail("The beam has no treatment with a photon energy");
    }
    const Result<double> equivSize = StrToFloat(Text("BeamEquivSize"));
    if (!equivSize) {
        return equivSize.status();
    }
    return ComputeMLCFactors(*m_energy, *equivSize, field.geometry.area, field.geometry.perimeter);
}

void PhotonBeamForm::AddMultileafFromFile(const std::string& fileName, const MLCField& field,
                                          const MLCFactors& factors) {
    AddOnFly("MultileafComp", {MLCEntryName(fileName, field.name), factors.Average()});
}

Status PhotonBeamForm::Accept(const Date& today) {
    if (m_linac == nullptr) {
        // No linac and energy behind the beam: the record refuses any input and says why.
        return m_beam.Accept(PhotonBeamInput{}, today);
    }
    const Result<PhotonBeamInput> input = ReadInput();
    if (!input) {
        return input.status();
    }
    const Status accepted = m_beam.Accept(*input, today);
    if (accepted) {
        m_beam.sheet = m_sheet;
    }
    return accepted;
}

void PhotonBeamForm::LoadControls() {
    if (m_linac == nullptr) {
        return;
    }
    const TPhotonBeam& b = m_beam;
    m_sheet = b.sheet;
    // A stored depth is always a number, so the technique change cannot fail here.
    (void)Select("Technique", b.technique);
    const PhotonGeometry& e = b.typed;
    // The field is shown as it was typed (at the isocentre for the isocentric technique).
    const std::pair<std::string_view, std::string> inOrder[] = {
        {"BeamName", b.name},
        {"BeamID", b.ID},
        {"GantryRot", b.gantry},
        {"JawsRot", b.jaws},
        {"CouchRot", b.couch},
        {"BeamWidth", G(e.width)},
        {"BeamHeight", G(e.height)},
        {"BeamLeft", G(e.X1)},
        {"BeamRight", G(e.X2)},
        {"BeamBottom", G(e.Y1)},
        {"BeamTop", G(e.Y2)},
        {"BeamWidthAsymm", G(e.width)},
        {"BeamHeightAsymm", G(e.height)},
        {"BeamAsymmWidth", G((e.X2 - e.X1) / 2)},
        {"BeamAsymmHeight", G((e.Y2 - e.Y1) / 2)},
        {"BeamDose", G(b.dose)},
        {"BeamDepth", G(b.depth)},
        {"BeamSSD", G(b.SSD)},
        {"BeamRealSSD", G(b.realSSD)},
        {"BeamEquivSize", G(e.equivSize)},
        {"BeamOffset", G(e.offset)},
    };
    for (const auto& [name, text] : inOrder) {
        SetText(name, text);
    }
    FillLists();
    SelectEntryQuietly("WedgeComp", b.wedge);
    SelectEntryQuietly("TrayComp", b.tray);
    SelectEntryQuietly("ShieldComp", b.shield);
    SelectEntryQuietly("MultileafComp", b.multileaf);
    TextRef("OffsetComp") = G(e.offset);
    ShowTPSMU(b);
    SetCheckedQuietly("isOffset", !b.offsetOff);
}

} // namespace kova
