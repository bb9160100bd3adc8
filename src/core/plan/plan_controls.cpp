// The photon and electron beam dialogs' controls from a plan: the technique, depth, SSDs,

#include "core/plan/plan_controls.h"

#include "core/beams/control_names.h" // field and multileaf entry of a photon beam, the applicator of an electron beam.
#include "core/dosimetry/photon_lookups.h"
#include "core/mlc/mlc_factors.h"
#include "core/plan/leaf_opening.h"
#include "core/plan/plan_checks.h"
#include "core/plan/plan_match.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

namespace kova {
namespace {

/// Plans give the source-axis distance in mm; a linac's SAD within half a millimetre is the
/// same machine geometry.
constexpr double kSameSAD = 0.05; // cm
/// The asymmetric sheet reads a shift above 50 cm as a negative one.
constexpr double kLargestShift = 50; // cm
constexpr double kMmPerCm = 10;

std::string G(double value) {
    return FormatGeneral(value);
}

/// A length (cm) or dose (cGy) of the plan as a user types it: to 0.01, so that a beam shows
/// "Depth = 10.16 cm", not the plan's 15 digits. A length moves by at most 0.005 cm and a
/// dose by 0.005 cGy: beyond the build-up depth a few hundredths of a percent of the MU,
/// below the 0.1 % its difference to the plan's MU is printed with.
std::string Typed(double value) {
    return FormatGeneral(std::round(value * 100) / 100 + 0.0); // + 0.0: never "-0"
}

/// Jaw positions from the axis at the isocentre, cm, positive when open on their own side.
struct Jaws {
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    bool symmetricX = true, symmetricY = true;
};

Result<Jaws> JawsOf(const PlanControlPoint& first) {
    const PlanDevicePositions* x = DeviceAt(first, "ASYMX", "X");
    const PlanDevicePositions* y = DeviceAt(first, "ASYMY", "Y");
    for (const auto& [device, axis] : {std::pair{x, "X"}, std::pair{y, "Y"}}) {
        if (device == nullptr || device->positions.size() != 2 ||
            !std::isfinite(device->positions[0]) || !std::isfinite(device->positions[1])) {
            return Result<Jaws>::Fail(std::string("the first control point gives no ") + axis +
                                      " jaws (ASYM" + axis + " or " + axis + ")");
        }
    }
    Jaws jaws;
    jaws.X1 = -x->positions[0] / kMmPerCm;
    jaws.X2 = x->positions[1] / kMmPerCm;
    jaws.Y1 = -y->positions[0] / kMmPerCm;
    jaws.Y2 = y->positions[1] / kMmPerCm;
    jaws.symmetricX = x->positions[0] == -x->positions[1];
    jaws.symmetricY = y->positions[0] == -y->positions[1];
    return jaws;
}

/// How the beam is set up: the technique, its distances and the scale from the isocentre
/// to the plane the dialog takes the field in.
struct PhotonSetup {
    bool fixedSSD = false;
    double SSD = 0;   ///< cm
    double depth = 0; ///< cm
    double scale = 1; ///< the field at the isocentre times this is the field typed
};

Result<PhotonSetup> SetupOf(const PlanBeamContext& context, const TgEnergy& energy) {
    const std::string technique = SetupTechniqueOf(context.plan, context.beam);
    if (technique == "TBI") {
        return Result<PhotonSetup>::Fail(
            "a total body irradiation set-up: TBI beams are entered in their own dialog");
    }
    if (const Status sad = CheckPlanSAD(context); !sad) {
        return sad;
    }
    const std::optional<double> ssd = context.beam.controlPoints.front().SSD;
    if (!ssd) {
        return Result<PhotonSetup>::Fail(
            "the first control point gives no SourceToSurfaceDistance");
    }
    PhotonSetup setup;
    setup.fixedSSD = technique == "FIXED_SSD";
    setup.SSD = *ssd / kMmPerCm;
    const std::optional<double> pointDepth = context.dose.dosePointDepth;
    setup.depth =
        setup.fixedSSD && pointDepth ? *pointDepth / kMmPerCm : context.linac.SAD - setup.SSD;
    setup.scale = setup.fixedSSD ? energy.SCD / context.linac.SAD : 1;
    if (setup.fixedSSD && !pointDepth && !(setup.depth > 0)) {
        // The isocentre on or outside the skin is no dose point of the beam.
        return Result<PhotonSetup>::Fail(
            "the plan gives no depth of the dose point of this fixed SSD beam");
    }
    return setup;
}

void AddTechnique(const PhotonSetup& setup, ImportedBeam& imported) {
    AddControl(imported, controls::kTechnique, setup.fixedSSD ? "1" : "0");
    AddControl(imported, controls::kBeamDepth, Typed(setup.depth));
    if (setup.fixedSSD) {
        AddControl(imported, controls::kBeamSSD, Typed(setup.SSD));
    }
    AddControl(imported, controls::kBeamRealSSD, Typed(setup.SSD));
}

/// The field through the symmetric sheet, or through the sheet of sizes and shifts, which
/// keeps the width and height exactly as the plan gives them.
Status AddField(const Jaws& jaws, double scale, const TLinacSpec& linac, ImportedBeam& imported) {
    const double width = (jaws.X1 + jaws.X2) * scale;
    const double height = (jaws.Y1 + jaws.Y2) * scale;
    if (jaws.symmetricX && jaws.symmetricY) {
        AddControl(imported, controls::kBeamWidth, Typed(width));
        AddControl(imported, controls::kBeamHeight, Typed(height));
        return Status::Ok();
    }
    const double shiftX = (jaws.X2 - jaws.X1) / 2 * scale;
    const double shiftY = (jaws.Y2 - jaws.Y1) / 2 * scale;
    for (const auto& [symmetric, independent, axis] :
         {std::tuple{jaws.symmetricX, linac.isAsymmetricFieldsOnWidth != 0, "X"},
          std::tuple{jaws.symmetricY, linac.isAsymmetricFieldsOnHeight != 0, "Y"}}) {
        if (!symmetric && !independent) {
            return Status::Fail(std::string("the ") + axis + " jaws are asymmetric, but " +
                                linac.Name + " has no independent " + axis + " jaws");
        }
    }
    if (std::fabs(shiftX) > kLargestShift || std::fabs(shiftY) > kLargestShift) {
        return Status::Fail("the field centre lies more than 50 cm off the axis");
    }
    AddControl(imported, controls::kBeamWidthAsymm, Typed(width));
    AddControl(imported, controls::kBeamHeightAsymm, Typed(height));
    if (!jaws.symmetricX) {
        AddControl(imported, controls::kBeamAsymmWidth, Typed(shiftX));
    }
    if (!jaws.symmetricY) {
        AddControl(imported, controls::kBeamAsymmHeight, Typed(shiftY));
    }
    return Status::Ok();
}

/// The equivalent square of the field as the dialog shows it (one decimal), which the
/// multileaf factor of a field from a file is worked out on.
double ShownEquivalentSquare(double width, double height) {
    const Result<double> shown =
        StrToFloat(FormatFloat("#0.0;;0", EquivalentSquare(width, height)));
    return shown ? *shown : 0;
}

/// The leaf opening of the first control point inside the jaws; none without leaves.
Result<std::optional<LeafOpening>> LeafOpeningOf(const PlanBeam& beam, const Jaws& jaws) {
    const PlanControlPoint& first = beam.controlPoints.front();
    const PlanDevicePositions* mlcx = DeviceAt(first, "MLCX");
    const PlanDevicePositions* mlcy = DeviceAt(first, "MLCY");
    if (mlcx != nullptr && mlcy != nullptr) {
        return Result<std::optional<LeafOpening>>::Fail(
            "the beam has two multileaf collimators (MLCX and MLCY)");
    }
    const PlanDevicePositions* leaves = mlcx != nullptr ? mlcx : mlcy;
    if (leaves == nullptr) {
        return std::optional<LeafOpening>();
    }
    const auto sameType = [leaves](const PlanDevice& d) { return d.type == leaves->type; };
    const auto found = std::find_if(beam.devices.begin(), beam.devices.end(), sameType);
    const PlanDevice* device = found != beam.devices.end() ? &*found : nullptr;
    if (device == nullptr) {
        return Result<std::optional<LeafOpening>>::Fail(
            "the plan gives no leaf boundaries of the " + leaves->type);
    }
    std::vector<double> boundaries, positions;
    for (const double mm : device->leafBoundaries) {
        boundaries.push_back(mm / kMmPerCm);
    }
    for (const double mm : leaves->positions) {
        positions.push_back(mm / kMmPerCm);
    }
    const Span x{-jaws.X1, jaws.X2}, y{-jaws.Y1, jaws.Y2};
    const LeafWindow window = mlcx != nullptr ? LeafWindow{x, y} : LeafWindow{y, x};
    const Result<LeafOpening> opening = MeasureLeafOpening(boundaries, positions, window);
    if (!opening) {
        return Result<std::optional<LeafOpening>>::Fail(
            "the " + leaves->type + " leaf data are damaged: " + opening.reason());
    }
    return std::optional<LeafOpening>(*opening);
}

/// The multileaf entry made on the spot for a leaf opening that cuts into the jaw field.
Status AddMultileaf(const PlanBeamContext& context, const TgEnergy& energy, const Jaws& jaws,
                    double scale, ImportedBeam& imported) {
    const Result<std::optional<LeafOpening>> opening = LeafOpeningOf(context.beam, jaws);
    if (!opening) {
        return opening.status();
    }
    if (!opening->has_value() || (*opening)->wholeWindow) {
        return Status::Ok();
    }
    const double e =
        ShownEquivalentSquare((jaws.X1 + jaws.X2) * scale, (jaws.Y1 + jaws.Y2) * scale);
    const Result<MLCFactors> factors = ComputeMLCFactors(
        energy, e, (*opening)->area * scale * scale, (*opening)->perimeter * scale);
    if (!factors) {
        return Status::Fail("no multileaf factor for the leaf opening: " + factors.reason());
    }
    const std::string label = context.label.empty() ? "RTPlan" : context.label;
    AddControl(imported, controls::kMultileafComp,
               MLCEntryName(label, context.title) + " : " + G(factors->Average()));
    return Status::Ok();
}

} // namespace

Status CheckPlanSAD(const PlanBeamContext& context) {
    const TLinacSpec& linac = context.linac;
    if (!(linac.SAD > 0)) {
        return Status::Fail("the linac " + linac.Name + " has no SAD");
    }
    const std::optional<double> sad = context.beam.SAD;
    if (sad && !std::isfinite(*sad)) {
        return Status::Fail("the plan's source-axis distance is not a number");
    }
    if (sad && !(std::fabs(*sad / kMmPerCm - linac.SAD) <= kSameSAD)) {
        return Status::Fail("the plan's source-axis distance " + G(*sad / kMmPerCm) +
                            " cm is not the SAD of " + linac.Name + " (" + G(linac.SAD) + " cm)");
    }
    return Status::Ok();
}

void AddPlanIdentity(const PlanBeamContext& context, ImportedBeam& imported) {
    const PlanControlPoint& first = context.beam.controlPoints.front();
    const auto angle = [](const std::optional<double>& degrees) {
        return degrees ? G(*degrees) : std::string();
    };
    AddControl(imported, controls::kBeamName, context.title);
    AddControl(imported, controls::kBeamID,
               context.beam.number ? std::to_string(*context.beam.number) : "");
    AddControl(imported, controls::kGantryRot, angle(first.gantryAngle));
    AddControl(imported, controls::kJawsRot, angle(first.collimatorAngle));
    AddControl(imported, controls::kCouchRot, angle(first.couchAngle));
    AddControl(imported, controls::kBeamDose, Typed(*context.dose.dose * 100));
}

void AddPlanTPSMU(const PlanBeamContext& context, ImportedBeam& imported) {
    const std::optional<double> meterset = context.dose.meterset;
    if (!meterset) {
        imported.tpsRefusal = "the plan gives the beam no BeamMeterset";
    } else if (!std::isfinite(*meterset)) {
        imported.tpsRefusal = "the plan's BeamMeterset of the beam is not a number";
    } else if (*meterset < 0) {
        imported.tpsRefusal = "the plan's BeamMeterset of the beam is below 0";
    } else {
        AddControl(imported, controls::kTPSMU, G(*meterset));
    }
}

void AddControl(ImportedBeam& imported, std::string_view key, const std::string& value) {
    imported.block.entries.push_back({std::string(key), value, 0});
}

Status AddPhotonControls(const PlanBeamContext& context, const TgEnergy& energy,
                         ImportedBeam& imported) {
    const Result<PhotonSetup> setup = SetupOf(context, energy);
    if (!setup) {
        return setup.status();
    }
    const Result<Jaws> jaws = JawsOf(context.beam.controlPoints.front());
    if (!jaws) {
        return jaws.status();
    }
    AddPlanIdentity(context, imported);
    AddTechnique(*setup, imported);
    if (const Status field = AddField(*jaws, setup->scale, context.linac, imported); !field) {
        return field;
    }
    if (const Status modifiers = AddPhotonModifiers(context, energy, imported); !modifiers) {
        return modifiers;
    }
    if (const Status mlc = AddMultileaf(context, energy, *jaws, setup->scale, imported); !mlc) {
        return mlc;
    }
    if (!(jaws->symmetricX && jaws->symmetricY) && OffsetAvailable(energy)) {
        AddControl(imported, controls::kIsOffset, "1");
    }
    AddPlanTPSMU(context, imported);
    return Status::Ok();
}

Status AddElectronControls(const PlanBeamContext& context, const TeEnergy& energy,
                           ImportedBeam& imported) {
    const std::vector<PlanApplicator>& applicators = context.beam.applicators;
    if (applicators.empty()) {
        return Status::Fail("the electron beam names no applicator");
    }
    const PlanApplicator& planned = applicators.front();
    const Applicator* applicator = ApplicatorFor(planned, energy);
    if (applicator == nullptr) {
        return Status::Fail("the applicator '" + planned.ID + "' matches no applicator of " +
                            energy.Name +
                            " (applicators: " + JoinNames(NamesOf(energy.Applicators)) + ")");
    }
    AddPlanIdentity(context, imported);
    const auto cm = [](double mm) { return Typed(mm / kMmPerCm); };
    if (planned.shape == "SYM_RECTANGLE" && planned.openingX && planned.openingY) {
        AddControl(imported, controls::kBeamWidth, cm(*planned.openingX));
        AddControl(imported, controls::kBeamHeight, cm(*planned.openingY));
    } else if (planned.opening) {
        AddControl(imported, controls::kBeamWidth, cm(*planned.opening));
        AddControl(imported, controls::kBeamHeight, cm(*planned.opening));
    }
    AddControl(imported, controls::kApplicatorComp, applicator->Name);
    AddPlanTPSMU(context, imported);
    return Status::Ok();
}

} // namespace kova
