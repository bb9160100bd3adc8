#pragma once

#include "core/beams/beam.h"
#include "core/beams/bound_form.h"
#include "core/beams/control_names.h"
#include "core/dosimetry/trace.h"
#include "core/linac/energy.h"

namespace kova {

/// The largest electron field side, cm: no applicator opens wider than the photon jaws do
/// at the isocentre.
inline constexpr double kMaxElectronField = 40;

/// What the OK button of an electron beam reads: the common fields (the SSD as the dialog
/// shows it) and the chosen applicator.
struct ElectronBeamInput : BeamFields {
    const Applicator* applicator = nullptr;
};

/// An electron beam: treated at the energy's own SSD with an applicator, whose calibrated
/// output alone gives the MU.
class TElectronBeam : public TBeam {
public:
    using TBeam::TBeam;

    const Applicator* applicator = nullptr; ///< the chosen applicator of the energy
    double applicatorFactor = 0;            ///< its output at the last calculation, cGy/MU
    TraceList traces;                       ///< where the applicator factor comes from

    BeamKind Kind() const override { return BeamKind::Electron; }

    /// Checks and calculates; stores everything only on success, otherwise says why.
    Status Accept(const ElectronBeamInput& input, const Date& today);

    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<const EnergyListItem*> UsedEntries() const override;
    std::vector<NamedValue> Inputs() const override;
    std::vector<NamedValue> Factors() const override;
    TraceList Traces() const override { return traces; }
    /// The chosen applicator (its place among the energy's) and its factor.
    PlotMarks LookupMarks() const override;
    std::unique_ptr<BeamForm> CreateForm() override;
    std::unique_ptr<TBeam> Clone() const override;

    /// The input as stored.
    ElectronBeamInput StoredInput() const;

protected:
    TElectronBeam(const TElectronBeam&) = default; ///< for Clone only
};

/// The electron beam dialog: identity, dose, the field and the applicator; the SSD is the
/// energy's and only shown.
class ElectronBeamForm : public BoundForm<ElectronBeamInput> {
public:
    explicit ElectronBeamForm(TElectronBeam& beam);

    std::string Caption() const override { return "New Electron Beam"; }
    Status Accept(const Date& today) override;
    void LoadControls() override;

    /// The controls converted in the order OK reads them.
    Result<ElectronBeamInput> ReadInput() const;

protected:
    Status RunRule(const ControlSpec&) override { return Status::Ok(); }

private:
    TElectronBeam& m_beam;
};

} // namespace kova
