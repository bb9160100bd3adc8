#pragma once

// An IMRT or VMAT beam imported from a planning system's plan (step-and-shoot, sliding
// window, arc): its segments come from the plan's control points, and KOVA X checks the
// dose they give the beam's dose point by modified Clarkson integration (clarkson.h,
// docs/clarkson.md). Its inputs are read only in the dialog: they are the plan's.

#include "core/beams/beam.h"
#include "core/beams/bound_form.h"
#include "core/beams/clarkson.h"
#include "core/beams/control_names.h"

#include <optional>
#include <string>
#include <vector>

namespace kova {

namespace controls {
// IMRT/VMAT beams: the leaf edges and the segments, as segment_text.h writes them.
inline constexpr std::string_view kLeafBoundaries = "LeafBoundaries";
inline constexpr std::string_view kSegments = "Segments";
} // namespace controls

/// What the OK button of an IMRT/VMAT beam reads: the common fields (the dose is the plan's
/// BeamDose, cGy, and the TPS MU its BeamMeterset) and the texts of its segments.
struct DynamicBeamInput : BeamFields {
    std::string leafBoundaries;
    std::string segments;
};

/// An IMRT or VMAT beam: the dose its segments give the point per MU of the beam, the MU that
/// give the planned dose, and the dose the planning system's MU give.
class TDynamicBeam : public TBeam {
public:
    using TBeam::TBeam;

    DynamicBeamInput input;         ///< as stored by the last successful calculation
    PointDose pointDose;            ///< the segments with MU = their share of one MU of the beam
    MlcParameters mlc;              ///< of the energy at the last calculation
    std::optional<double> kovaDose; ///< cGy the TPS MU give by KOVA X; none without TPS MU

    BeamKind Kind() const override { return BeamKind::Dynamic; }

    /// Checks and calculates; stores everything only on success, otherwise says why (an
    /// energy without MLC parameters names the missing one).
    Status Accept(const DynamicBeamInput& input, const Date& today);

    /// cGy per MU of the beam at its point.
    double DosePerMU() const { return pointDose.dose; }

    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<const EnergyListItem*> UsedEntries() const override;
    std::vector<NamedValue> Inputs() const override;
    std::vector<NamedValue> Factors() const override;
    std::unique_ptr<BeamForm> CreateForm() override;
    std::unique_ptr<TBeam> Clone() const override;

protected:
    TDynamicBeam(const TDynamicBeam&) = default; ///< for Clone only
};

/// The IMRT/VMAT beam dialog: every control shows what the plan gave.
class DynamicBeamForm : public BoundForm<DynamicBeamInput> {
public:
    explicit DynamicBeamForm(TDynamicBeam& beam);

    std::string Caption() const override { return "New IMRT/VMAT Beam"; }
    Status Accept(const Date& today) override;
    void LoadControls() override;

protected:
    Status RunRule(const ControlSpec&) override { return Status::Ok(); }

private:
    TDynamicBeam& m_beam;
};

} // namespace kova
