#pragma once

#include "core/beams/field_geometry.h"
#include "core/beams/photon_beam.h"

#include <string>
#include <vector>

namespace kova {

class TLinacSpec;
class TgEnergy;

/// Labels of the field edits, from the linac's axis and jaw labels.
struct FieldLabels {
    std::string width = "Width X [cm]";
    std::string height = "Height Y [cm]";
    std::string left = "Left X1 [cm]";
    std::string right = "Right X2 [cm]";
    std::string bottom = "Bottom Y1 [cm]";
    std::string top = "Top Y2 [cm]";
};

/// The labels for `linac`; the form's own captions when there is none.
FieldLabels FieldLabelsFor(const TLinacSpec* linac);

/// The texts of the photon beam dialog and the rules that run while the user types: the
/// technique sets the SSDs, the depth moves the isocentric SSD, and each field sheet fills
/// the other sheets, the equivalent square and the offset. The desktop dialog shows this
/// state; the batch tool types into it the same way, so both give the same MU.
class PhotonBeamForm {
public:
    PhotonBeamForm(const TLinacSpec& linac, const TgEnergy& energy);

    const PhotonBeamTexts& texts() const { return m_texts; }
    const std::string& Text(PhotonControl control) const;
    FieldSheet sheet() const { return m_sheet; }
    bool ssdReadOnly() const { return m_ssdReadOnly; }

    /// The asymmetric sheets are offered when the linac has independent jaws on an axis.
    bool AsymmetricSheetsEnabled() const;
    bool AsymmWidthEnabled() const;
    bool AsymmHeightEnabled() const;

    /// Chooses the technique (0 isocentric, 1 fixed SSD). Isocentric with a depth that is not
    /// a number fails with the conversion message and leaves the SSD texts unchanged.
    Status SetTechnique(int technique);

    /// Makes a field sheet the active one; a disabled asymmetric sheet is refused.
    bool SetSheet(FieldSheet sheet);

    /// Types `text` into an edit and runs its handler. Returns the other edits whose text the
    /// handler changed, in the order it wrote them.
    std::vector<PhotonControl> SetText(PhotonControl control, const std::string& text);

    /// Selects modifier entries and the offset box.
    void SetWedge(const Wedge* wedge) { m_texts.wedge = wedge; }
    void SetTray(const Tray* tray) { m_texts.tray = tray; }
    void SetShield(const Shield* shield) { m_texts.shield = shield; }
    void SetMultileaf(const MLCFValue* multileaf) { m_texts.multileaf = multileaf; }
    void SetIsOffset(bool isOffset) { m_texts.isOffset = isOffset; }

    /// Fills the form from a stored beam as the dialog does before an edit: the technique
    /// first, then every text in turn (each running its handler), then the modifiers.
    void LoadControls(const TPhotonBeam& beam);

private:
    std::vector<PhotonControl> Apply(const ControlTexts& texts);
    std::string& TextRef(PhotonControl control);

    const TLinacSpec& m_linac;
    const TgEnergy& m_energy;
    PhotonBeamTexts m_texts;
    FieldSheet m_sheet = FieldSheet::Symmetric;
    bool m_ssdReadOnly = true;
};

} // namespace kova
