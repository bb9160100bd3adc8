#include "core/beams/photon_beam_form.h"

#include "core/linac/linac_spec.h"

namespace kova {
namespace {

bool IsJaw(PhotonControl c) {
    return c == PhotonControl::BeamLeft || c == PhotonControl::BeamRight ||
           c == PhotonControl::BeamBottom || c == PhotonControl::BeamTop;
}

bool IsSymmetricEdit(PhotonControl c) {
    return c == PhotonControl::BeamWidth || c == PhotonControl::BeamHeight;
}

bool IsAsymmetricBEdit(PhotonControl c) {
    return c == PhotonControl::BeamWidthAsymm || c == PhotonControl::BeamHeightAsymm ||
           c == PhotonControl::BeamAsymmWidth || c == PhotonControl::BeamAsymmHeight;
}

/// The text of `control` in `t` (const or not).
template <class Texts>
auto& TextOf(Texts& t, PhotonControl control) {
    switch (control) {
    case PhotonControl::BeamName:
        return t.BeamName;
    case PhotonControl::BeamID:
        return t.BeamID;
    case PhotonControl::GantryRot:
        return t.GantryRot;
    case PhotonControl::JawsRot:
        return t.JawsRot;
    case PhotonControl::CouchRot:
        return t.CouchRot;
    case PhotonControl::BeamDose:
        return t.BeamDose;
    case PhotonControl::BeamDepth:
        return t.BeamDepth;
    case PhotonControl::BeamSSD:
        return t.BeamSSD;
    case PhotonControl::BeamRealSSD:
        return t.BeamRealSSD;
    case PhotonControl::BeamWidth:
        return t.BeamWidth;
    case PhotonControl::BeamHeight:
        return t.BeamHeight;
    case PhotonControl::BeamLeft:
        return t.BeamLeft;
    case PhotonControl::BeamRight:
        return t.BeamRight;
    case PhotonControl::BeamBottom:
        return t.BeamBottom;
    case PhotonControl::BeamTop:
        return t.BeamTop;
    case PhotonControl::BeamWidthAsymm:
        return t.BeamWidthAsymm;
    case PhotonControl::BeamHeightAsymm:
        return t.BeamHeightAsymm;
    case PhotonControl::BeamAsymmWidth:
        return t.BeamAsymmWidth;
    case PhotonControl::BeamAsymmHeight:
        return t.BeamAsymmHeight;
    case PhotonControl::BeamEquivSize:
        return t.BeamEquivSize;
    case PhotonControl::BeamOffset:
        return t.BeamOffset;
    case PhotonControl::OffsetComp:
        break;
    }
    return t.OffsetComp;
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

PhotonBeamForm::PhotonBeamForm(const TLinacSpec& linac, const TgEnergy& energy)
    : m_linac(linac), m_energy(energy) {
}

bool PhotonBeamForm::AsymmetricSheetsEnabled() const {
    return m_linac.isAsymmetricFieldsOnWidth != 0 || m_linac.isAsymmetricFieldsOnHeight != 0;
}

bool PhotonBeamForm::AsymmWidthEnabled() const {
    return m_linac.isAsymmetricFieldsOnWidth != 0;
}

bool PhotonBeamForm::AsymmHeightEnabled() const {
    return m_linac.isAsymmetricFieldsOnHeight != 0;
}

const std::string& PhotonBeamForm::Text(PhotonControl control) const {
    return TextOf(m_texts, control);
}

std::string& PhotonBeamForm::TextRef(PhotonControl control) {
    return TextOf(m_texts, control);
}

Status PhotonBeamForm::SetTechnique(int technique) {
    if (technique == m_texts.technique) {
        return Status::Ok();
    }
    // The item and the SSD's read-only state change before the depth is read, so a depth
    // that is not a number leaves the SSD texts as they were but the SSD locked.
    m_texts.technique = technique;
    m_ssdReadOnly = technique == kIsocentric;
    const Result<SsdTexts> ssd = TechniqueChanged(technique, m_texts.BeamDepth, m_linac, m_energy);
    if (!ssd) {
        return ssd.status();
    }
    m_texts.BeamSSD = ssd->ssd;
    m_texts.BeamRealSSD = ssd->realSsd;
    return Status::Ok();
}

bool PhotonBeamForm::SetSheet(FieldSheet sheet) {
    if (sheet != FieldSheet::Symmetric && !AsymmetricSheetsEnabled()) {
        return false;
    }
    m_sheet = sheet;
    return true;
}

std::vector<PhotonControl> PhotonBeamForm::Apply(const ControlTexts& texts) {
    std::vector<PhotonControl> changed;
    for (const auto& [control, text] : texts) {
        TextRef(control) = text;
        changed.push_back(control);
    }
    return changed;
}

std::vector<PhotonControl> PhotonBeamForm::SetText(PhotonControl control, const std::string& text) {
    TextRef(control) = text;
    const PhotonBeamTexts& t = m_texts;
    if (control == PhotonControl::BeamDepth && t.technique == kIsocentric) {
        const std::optional<std::string> ssd = IsocentricSsdText(t.BeamDepth, m_linac);
        if (!ssd) {
            return {};
        }
        return Apply({{PhotonControl::BeamSSD, *ssd}, {PhotonControl::BeamRealSSD, *ssd}});
    }
    if (IsSymmetricEdit(control) && m_sheet == FieldSheet::Symmetric) {
        const auto texts = SymmetricFieldChanged(t.BeamWidth, t.BeamHeight);
        return texts ? Apply(*texts) : std::vector<PhotonControl>{};
    }
    if (IsJaw(control) && m_sheet == FieldSheet::AsymmetricA) {
        return Apply(
            JawFieldChanged(control, {t.BeamLeft, t.BeamRight, t.BeamBottom, t.BeamTop}, m_linac));
    }
    if (IsAsymmetricBEdit(control) && m_sheet == FieldSheet::AsymmetricB) {
        const auto texts = AsymmetricFieldChanged(t.BeamWidthAsymm, t.BeamHeightAsymm,
                                                  t.BeamAsymmWidth, t.BeamAsymmHeight);
        return texts ? Apply(*texts) : std::vector<PhotonControl>{};
    }
    return {};
}

void PhotonBeamForm::LoadControls(const TPhotonBeam& beam) {
    const PhotonBeamTexts t = beam.LoadControls();
    m_sheet = beam.sheet;
    // A stored depth is always a number, so the technique change cannot fail here.
    (void)SetTechnique(t.technique);
    const std::pair<PhotonControl, const std::string*> inOrder[] = {
        {PhotonControl::BeamName, &t.BeamName},
        {PhotonControl::BeamID, &t.BeamID},
        {PhotonControl::GantryRot, &t.GantryRot},
        {PhotonControl::JawsRot, &t.JawsRot},
        {PhotonControl::CouchRot, &t.CouchRot},
        {PhotonControl::BeamWidth, &t.BeamWidth},
        {PhotonControl::BeamHeight, &t.BeamHeight},
        {PhotonControl::BeamLeft, &t.BeamLeft},
        {PhotonControl::BeamRight, &t.BeamRight},
        {PhotonControl::BeamBottom, &t.BeamBottom},
        {PhotonControl::BeamTop, &t.BeamTop},
        {PhotonControl::BeamWidthAsymm, &t.BeamWidthAsymm},
        {PhotonControl::BeamHeightAsymm, &t.BeamHeightAsymm},
        {PhotonControl::BeamAsymmWidth, &t.BeamAsymmWidth},
        {PhotonControl::BeamAsymmHeight, &t.BeamAsymmHeight},
        {PhotonControl::BeamDose, &t.BeamDose},
        {PhotonControl::BeamDepth, &t.BeamDepth},
        {PhotonControl::BeamSSD, &t.BeamSSD},
        {PhotonControl::BeamRealSSD, &t.BeamRealSSD},
        {PhotonControl::BeamEquivSize, &t.BeamEquivSize},
        {PhotonControl::BeamOffset, &t.BeamOffset},
    };
    for (const auto& [control, text] : inOrder) {
        SetText(control, *text);
    }
    m_texts.wedge = t.wedge;
    m_texts.tray = t.tray;
    m_texts.shield = t.shield;
    m_texts.multileaf = t.multileaf;
    m_texts.OffsetComp = t.OffsetComp;
    m_texts.isOffset = t.isOffset;
}

} // namespace kova
