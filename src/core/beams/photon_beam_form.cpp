#include "core/beams/photon_beam_form.h"

#include "core/beams/result_text.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <algorithm>

namespace kova {

using namespace controls;

namespace {

enum Rule { kNoRule, kTechniqueRule, kDepthRule, kSymmetric, kJaw, kAsymmetricB };

constexpr int kSym = 1, kSheetA = 2, kSheetB = 3;

/// Batch steps: the technique, then identity and dose, the depth, the field, the SSDs, and
/// the modifiers last, as a user goes through the dialog.
enum Step { kStepTechnique = 0, kStepIdentity, kStepDepth, kStepField, kStepSsd, kStepModifiers };

using In = PhotonBeamInput;
using Row = BoundControl<In>;

/// Reading order of OK: the technique and identity, the dose(s), the field with its
/// equivalent size and offset, the depth and SSDs, the TPS MU, then the modifiers.
enum Read {
    kReadNot = 0,
    kReadTechnique,
    kReadName,
    kReadID,
    kReadGantry,
    kReadJaws,
    kReadCouch,
    kReadDose,
    kReadLeft,
    kReadRight,
    kReadBottom,
    kReadTop,
    kReadWidth,
    kReadHeight,
    kReadEquivSize,
    kReadOffset,
    kReadDepth,
    kReadSsd,
    kReadRealSsd,
    kReadTpsMu,
    kReadModifiers,
};

Row Typed(std::string_view name, ValueSlot<In> slot, std::string_view key, int read,
          std::string_view text = "0", int step = kStepIdentity, std::string_view caption = {}) {
    return {{name, ControlType::Edit, text, kNoRule, 0, step, caption}, slot, key, read};
}

Row FieldEdit(std::string_view name, int rule, int sheet, std::string_view caption,
              ValueSlot<In> slot, std::string_view key = {}, int read = kReadNot) {
    return {{name, ControlType::Edit, "0", rule, sheet, kStepField, caption}, slot, key, read};
}

Row Shown(std::string_view name, std::string_view caption, ValueSlot<In> slot,
          std::string_view key = {}, int read = kReadNot) {
    return {{name, ControlType::Shown, "0", kNoRule, 0, kStepModifiers, caption}, slot, key, read};
}

Row List(std::string_view name, EntrySlot<In> slot, std::string_view key) {
    return {{name, ControlType::List, "", kNoRule, 0, kStepModifiers}, slot, key, kReadModifiers};
}

double ShiftOf(double low, double high) {
    return (high - low) / 2;
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

const BoundTable<PhotonBeamInput>& PhotonBeamForm::Table() {
    static const BoundTable<In> table = {
        {{kTechnique, ControlType::Choice, "0", kTechniqueRule, 0, kStepTechnique},
         &PhotonFields::technique,
         "technique",
         kReadTechnique},
        Typed(kBeamName, &BeamFields::name, "name", kReadName, ""),
        Typed(kBeamID, &BeamFields::ID, "ID", kReadID, ""),
        Typed(kGantryRot, &BeamFields::gantry, "gantry", kReadGantry, ""),
        Typed(kJawsRot, &BeamFields::jaws, "jaws", kReadJaws, ""),
        Typed(kCouchRot, &BeamFields::couch, "couch", kReadCouch, ""),
        Required(
            Typed(kBeamDose, &BeamFields::dose, "dose", kReadDose, "0", kStepIdentity, "Dose")),
        Required<In>({{kBeamDepth, ControlType::Edit, "0", kDepthRule, 0, kStepDepth, "Depth"},
                      &BeamFields::depth,
                      "depth",
                      kReadDepth}),
        Typed(kBeamSSD, &BeamFields::SSD, "SSD", kReadSsd, "0", kStepSsd, "SSD"),
        Typed(kBeamRealSSD, &BeamFields::realSSD, "realSSD", kReadRealSsd, "0", kStepSsd,
              "Real SSD"),
        // The field's sizes and jaws must be given on the sheet used; the shifts of
        // "Asymmetric B" default to 0, a centred field.
        Required(FieldEdit(kBeamWidth, kSymmetric, kSym, "Width", &BeamFields::width, "width",
                           kReadWidth)),
        Required(FieldEdit(kBeamHeight, kSymmetric, kSym, "Height", &BeamFields::height, "height",
                           kReadHeight)),
        Required(FieldEdit(kBeamLeft, kJaw, kSheetA, "Left", &PhotonFields::X1, "X1", kReadLeft)),
        Required(
            FieldEdit(kBeamRight, kJaw, kSheetA, "Right", &PhotonFields::X2, "X2", kReadRight)),
        Required(
            FieldEdit(kBeamBottom, kJaw, kSheetA, "Bottom", &PhotonFields::Y1, "Y1", kReadBottom)),
        Required(FieldEdit(kBeamTop, kJaw, kSheetA, "Top", &PhotonFields::Y2, "Y2", kReadTop)),
        // The "Asymmetric B" sheet is shown from the field and worked into it by its rule.
        Required(FieldEdit(kBeamWidthAsymm, kAsymmetricB, kSheetB, "Width", &BeamFields::width)),
        Required(FieldEdit(kBeamHeightAsymm, kAsymmetricB, kSheetB, "Height", &BeamFields::height)),
        FieldEdit(kBeamAsymmWidth, kAsymmetricB, kSheetB, "Width asymmetry",
                  [](const In& in) { return ShiftOf(in.X1, in.X2); }),
        FieldEdit(kBeamAsymmHeight, kAsymmetricB, kSheetB, "Height asymmetry",
                  [](const In& in) { return ShiftOf(in.Y1, in.Y2); }),
        Shown(kBeamEquivSize, "Equiv. Size", &BeamFields::equivSize, "equivSize", kReadEquivSize),
        Shown(kBeamOffset, "Offset", &PhotonFields::offset, "offset", kReadOffset),
        List(kWedgeComp, EntryAt<In, &PhotonFields::wedge>(), "wedge"),
        List(kTrayComp, EntryAt<In, &PhotonFields::tray>(), "tray"),
        List(kShieldComp, EntryAt<In, &PhotonFields::shield>(), "shield"),
        List(kMultileafComp, EntryAt<In, &PhotonFields::multileaf>(), "multileaf"),
        {{kIsOffset, ControlType::Check, "0", kNoRule, 0, kStepModifiers},
         &PhotonFields::offsetOff,
         "offsetOff",
         kReadModifiers,
         /*inverted=*/true},
        Shown(kOffsetComp, {}, &PhotonFields::offset),
        Typed(kTPSMU, &BeamFields::tpsMU, {}, kReadTpsMu, "", kStepIdentity, "TPS MU"),
    };
    return table;
}

PhotonBeamForm::PhotonBeamForm(TPhotonBeam& beam) : PhotonBeamForm(beam, Table()) {
}

PhotonBeamForm::PhotonBeamForm(TPhotonBeam& beam, BoundTable<PhotonBeamInput> table)
    : BoundForm(std::move(table)), m_beam(beam) {
    if (beam.machine.linac != nullptr && beam.machine.gEnergy != nullptr) {
        m_linac = beam.machine.linac;
        m_energy = beam.machine.gEnergy;
    }
    // A new beam keeps the name of its node unless the user types another.
    TextRef(kBeamName) = beam.name;
    SetItems(kTechnique, OptionItems({"Isocentric", "Not Isocentric"}), kIsocentric);
    SetReadOnly(kBeamSSD, true);
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
        SetEnabled(kBeamAsymmWidth, m_linac->isAsymmetricFieldsOnWidth != 0);
        SetEnabled(kBeamAsymmHeight, m_linac->isAsymmetricFieldsOnHeight != 0);
    }
    FillLists();
    SetEnabled(kIsOffset, OffsetAvailable(*m_energy));
    SetEnabled(kOffsetComp, OffsetAvailable(*m_energy));
    SetEnabled(kMultileafComp, m_energy->MLCSupported);
}

void PhotonBeamForm::FillLists() {
    SetItems(kWedgeComp, WedgeItems(*m_energy));
    SetItems(kTrayComp, TrayItems(*m_energy, m_beam.adHoc));
    SetItems(kShieldComp, ShieldItems(*m_energy, m_beam.adHoc));
    SetItems(kMultileafComp, MultileafItems(*m_energy, m_beam.adHoc));
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
        if (name == kBeamSSD && ReadOnly(name)) {
            return Status::Fail(
                "BeamSSD cannot be typed in the isocentric technique (it follows the depth)");
        }
        if ((control->sheet == kSheetA || control->sheet == kSheetB) &&
            !AsymmetricSheetsEnabled()) {
            return Status::Fail("the linac " + m_linac->Name + " has no independent jaws");
        }
        if ((name == kBeamAsymmWidth || name == kBeamAsymmHeight) && !Enabled(name)) {
            return Status::Fail("this asymmetry cannot be set on the linac " + m_linac->Name);
        }
        if (name == kIsOffset && !Enabled(name)) {
            return Status::Fail("the energy " + m_energy->Name + " has no offset factors");
        }
        if (name == kMultileafComp && !Enabled(name)) {
            return Status::Fail("multileaf factors are not available for " + m_energy->Name);
        }
    }
    return BeamForm::CanSet(name);
}

Status PhotonBeamForm::CheckBatchInput(const std::vector<std::string_view>& set) const {
    if (std::none_of(set.begin(), set.end(), [this](std::string_view name) {
            const ControlSpec* control = Find(name);
            return control != nullptr && control->sheet != 0;
        })) {
        return Status::Fail("the beam gives no field (BeamWidth and BeamHeight, the four jaws, "
                            "or the asymmetric sizes and shifts)");
    }
    return Status::Ok();
}

void PhotonBeamForm::FollowUpCancelled(std::string_view name) {
    // A cancelled multileaf entry goes back to "None"; trays and shields keep
    // "Set on fly...", which carries no entry.
    if (name == kMultileafComp) {
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
    if (name == kTrayComp) {
        made = MakeAdHocEntry(adHoc.trays, value, &Tray::TF);
        return TrayItems(*m_energy, adHoc);
    }
    if (name == kShieldComp) {
        made = MakeAdHocEntry(adHoc.shields, value, &Shield::SF);
        return ShieldItems(*m_energy, adHoc);
    }
    if (name == kMultileafComp) {
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
    case kTechniqueRule:
        return TechniqueClick();
    case kDepthRule:
        if (m_technique == kIsocentric) {
            if (const auto ssd = IsocentricSsdText(Text(kBeamDepth), *m_linac)) {
                Apply({{kBeamSSD, *ssd}, {kBeamRealSSD, *ssd}});
            }
        }
        break;
    case kSymmetric:
        if (m_sheet == FieldSheet::Symmetric) {
            ApplyField(SymmetricFieldChanged(Text(kBeamWidth), Text(kBeamHeight)));
        }
        break;
    case kJaw:
        if (m_sheet == FieldSheet::AsymmetricA) {
            const ControlTexts texts = JawFieldChanged(
                control.name,
                {Text(kBeamLeft), Text(kBeamRight), Text(kBeamBottom), Text(kBeamTop)}, *m_linac);
            // Without an equivalent size the typed jaw, or another, is not a number.
            const bool complete = std::any_of(texts.begin(), texts.end(), [](const auto& text) {
                return text.first == kBeamEquivSize;
            });
            Apply(texts);
            if (!complete) {
                ApplyField(std::nullopt);
            }
        }
        break;
    case kAsymmetricB:
        if (m_sheet == FieldSheet::AsymmetricB) {
            ApplyField(AsymmetricFieldChanged(Text(kBeamWidthAsymm), Text(kBeamHeightAsymm),
                                              Text(kBeamAsymmWidth), Text(kBeamAsymmHeight)));
        }
        break;
    default:
        break;
    }
    return Status::Ok();
}

Status PhotonBeamForm::TechniqueClick() {
    const int technique = Selected(kTechnique);
    if (technique == m_technique) {
        return Status::Ok();
    }
    // The technique and the SSD's read-only state change before the depth is read, so a depth
    // that is not a number leaves the SSD texts as they were but the SSD locked.
    m_technique = technique;
    SetReadOnly(kBeamSSD, technique == kIsocentric);
    const Result<SsdTexts> ssd = TechniqueChanged(technique, Text(kBeamDepth), *m_linac, *m_energy);
    if (!ssd) {
        return Captioned(kBeamDepth, ssd.status());
    }
    Apply({{kBeamSSD, ssd->ssd}, {kBeamRealSSD, ssd->realSsd}});
    return Status::Ok();
}

void PhotonBeamForm::ApplyField(const std::optional<ControlTexts>& texts) {
    if (texts) {
        Apply(*texts);
        return;
    }
    // A size, jaw or shift that is not a number: no equivalent size or offset can be shown,
    // and a stale figure would look valid.
    Apply({{kBeamEquivSize, ""}, {kBeamOffset, ""}, {kOffsetComp, ""}});
}

void PhotonBeamForm::Apply(const ControlTexts& texts) {
    for (const auto& [name, text] : texts) {
        TextRef(name) = text;
    }
}

bool PhotonBeamForm::ReadsNow(const ControlSpec& control) const {
    // The isocentric SSD follows the depth; only a fixed SSD is read as typed.
    return control.name != kBeamSSD || Selected(kTechnique) == kFixedSsd;
}

Result<PhotonBeamInput> PhotonBeamForm::ReadInput() const {
    PhotonBeamInput in;
    if (Status sheet = CheckSheetB(); !sheet) {
        return sheet;
    }
    if (Status read = ReadBound(in); !read) {
        return read;
    }
    return in;
}

Result<PhotonBeamInput> PhotonBeamForm::ReadCheckedInput() const {
    Result<PhotonBeamInput> input = ReadInput();
    if (input) {
        if (Status sizes = CheckTypedSizes(*input); !sizes) {
            return sizes;
        }
    }
    return input;
}

Status PhotonBeamForm::CheckSheetB() const {
    ClearRefused();
    if (m_sheet != FieldSheet::AsymmetricB) {
        return Status::Ok();
    }
    // OK reads the field this sheet worked out; a box of the sheet that is empty or no number
    // is what the user must mend, not the equivalent size it left blank.
    for (const std::string_view name :
         {kBeamWidthAsymm, kBeamHeightAsymm, kBeamAsymmWidth, kBeamAsymmHeight}) {
        const std::string& typed = Text(name);
        if (typed.find_first_not_of(" \t") == std::string::npos) {
            return Refused(name, CaptionOf(name) + " is empty");
        }
        if (const Result<double> value = StrToFloat(typed); !value) {
            return Captioned(name, value.status());
        }
    }
    return Status::Ok();
}

Status PhotonBeamForm::CheckTypedSizes(const PhotonBeamInput& in) const {
    if (m_sheet == FieldSheet::AsymmetricA) {
        return Status::Ok(); // jaws were typed: a refusal names the jaws
    }
    // A size of 0 or below would be refused as jaws that cross, which nobody typed.
    const bool symmetric = m_sheet == FieldSheet::Symmetric;
    const std::pair<std::string_view, double> sizes[] = {
        {symmetric ? kBeamWidth : kBeamWidthAsymm, in.width},
        {symmetric ? kBeamHeight : kBeamHeightAsymm, in.height}};
    for (const auto& [name, size] : sizes) {
        if (!(size > 0)) {
            return Refused(name, CaptionOf(name) + " must be above 0");
        }
    }
    return Status::Ok();
}

Result<JawSettings> PhotonBeamForm::CurrentJaws() const {
    return ParseJawSettings(Text(kBeamLeft), Text(kBeamRight), Text(kBeamBottom), Text(kBeamTop),
                            Text(kBeamWidth), Text(kBeamHeight));
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
    const Result<double> equivSize = StrToFloat(Text(kBeamEquivSize));
    if (!equivSize) {
        return equivSize.status();
    }
    const Result<JawSettings> jaws = CurrentJaws();
    if (!jaws) {
        return jaws.status();
    }
    // Only the opening inside the jaws is irradiated: leaves open beyond them add nothing.
    const Result<LeafOpening> opening = OpeningInJaws(field.leaves, *jaws);
    if (!opening) {
        return opening.status();
    }
    if (opening->wholeWindow && opening->area > 0 && m_energy->MLCSupported) {
        // The leaves shape nothing of the jaw field: no multileaf factor other than 1.
        return MLCFactors{1, 1, opening->area, opening->perimeter};
    }
    return ComputeMLCFactors(*m_energy, *equivSize, opening->area, opening->perimeter);
}

void PhotonBeamForm::AddMultileafFromFile(const std::string& fileName, const MLCField& field,
                                          const MLCFactors& factors) {
    AddOnFly(kMultileafComp, {MLCEntryName(fileName, field.name), factors.Average()});
}

Status PhotonBeamForm::Accept(const Date& today) {
    if (m_linac == nullptr) {
        // No linac and energy behind the beam: the record refuses any input and says why.
        return m_beam.Accept(PhotonBeamInput{}, today);
    }
    const Result<PhotonBeamInput> input = ReadCheckedInput();
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
    m_sheet = m_beam.sheet;
    // The entries the beam made on the spot are offered again.
    FillLists();
    LoadBound(m_beam.ShownInput());
}

} // namespace kova
