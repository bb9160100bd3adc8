#pragma once

#include "core/beams/photon_beam.h"
#include "core/beams/photon_beam_form.h"

namespace kova {

/// A photon beam whose field delivers its prescription in two parts: an open part (the
/// inherited dose, MU and depth-dose set) and a wedged part with its own dose and MU.
class TPhotonOWBeam : public TPhotonBeam {
public:
    using TPhotonBeam::TPhotonBeam;

    double WedgeDose = 0;         ///< dose of the wedged part, cGy
    double WedgeMU = 0;           ///< MU of the wedged part
    DepthDoseSet wedgedDepthDose; ///< the wedged part's depth dose, read at the warped depth

    BeamKind Kind() const override { return BeamKind::PhotonOpenWedged; }

    /// Checks and calculates both parts; on success stores the input with the results of
    /// both, on failure stores nothing and says why.
    Status Accept(const PhotonBeamInput& input, double wedgeDose, const Date& today);

    double TotalDose() const override { return dose + WedgeDose; }
    double TotalMU() const override { return MU + WedgeMU; }
    /// "120.5 + 80.25 (wedged)" with a wedge; the open MU alone without.
    std::string MUText() const override;
    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<NamedValue> Inputs() const override;
    std::vector<NamedValue> Factors() const override;
    std::unique_ptr<BeamForm> CreateForm() override;
    PhotonBeamInput StoredInput() const override;
    std::unique_ptr<TBeam> Clone() const override;

protected:
    TPhotonOWBeam(const TPhotonOWBeam&) = default; ///< for Clone only
};

/// Both parts of an open/wedged beam as a successful OK stores them.
struct OpenWedgedCalculation {
    PhotonCalculation open; ///< the input at the calibration plane, the shared factors, open MU
    double wedgeMU = 0;
    DepthDoseSet wedged;
};

/// The OK step of an open/wedged beam. The photon checks with an open dose of 0 or above,
/// then a wedge dose of 0 or above, a total above 0, and a wedge for a wedge dose. The open
/// part is read at the real depth without wedge factor; the wedged part carries the wedge
/// factor, is read at the warped depth and is spared the offset factor when the wedge says
/// so.
Result<OpenWedgedCalculation> CalculateOpenWedgedBeam(const TLinacSpec& linac,
                                                      const TgEnergy& energy,
                                                      const PhotonBeamInput& input,
                                                      double wedgeDose, const Date& today);

/// The photon beam dialog with a wedge dose beside the (open) dose.
class PhotonOWBeamForm : public PhotonBeamForm {
public:
    explicit PhotonOWBeamForm(TPhotonOWBeam& beam);

    /// The photon controls with the wedge dose.
    static const BoundTable<PhotonBeamInput>& Table();

    std::string Caption() const override { return "New Photon Open/Wedged Beam"; }
    Status Accept(const Date& today) override;

private:
    TPhotonOWBeam& m_owBeam;
};

} // namespace kova
