#pragma once

// What a treatment plan of a planning system says about its beams, as plain data: the
// reader of the plan file fills it with the values as the file gives them (lengths in mm at
// the isocentre, doses in Gy, texts in UTF-8), and the import turns it into beams. Nothing
// here is checked; a value the file does not give (or gives as no finite number) is none,
// except where a damaged value must be told from a missing one: there it is NaN.

#include <optional>
#include <string>
#include <vector>

namespace kova {

/// The positions of one beam limiting device at a control point, mm from the axis in the
/// device's own direction: two for a jaw pair (the X1 or Y1 jaw first, negative when it is
/// open on its side), 2N for a multileaf collimator of N pairs (every leaf of bank 1, then
/// every leaf of bank 2).
struct PlanDevicePositions {
    std::string type; ///< "X", "Y", "ASYMX", "ASYMY", "MLCX" or "MLCY"
    std::vector<double> positions;
};

/// One control point of a beam. The first control point gives every value; the others give
/// what changes.
struct PlanControlPoint {
    std::optional<double> nominalEnergy;   ///< MV for photons, MeV for electrons
    std::optional<double> gantryAngle;     ///< degrees
    std::string gantryRotation;            ///< "CW", "CC", "NONE" or empty
    std::optional<double> collimatorAngle; ///< degrees
    std::optional<double> couchAngle;      ///< degrees
    std::optional<double> SSD;             ///< source to surface distance, mm
    /// CumulativeMetersetWeight; NaN when it is no number.
    std::optional<double> cumulativeWeight;
    std::vector<double> isocenter; ///< IsocenterPosition, mm in the patient's frame (3 values)
    std::vector<PlanDevicePositions> devices;
};

/// A beam limiting device of a beam: its type, and for a multileaf collimator the leaf
/// boundaries (N + 1 values, mm at the isocentre, across the leaves' direction).
struct PlanDevice {
    std::string type;
    std::vector<double> leafBoundaries;
    std::optional<int> leafJawPairs; ///< NumberOfLeafJawPairs: 1 for jaws, N for an MLC
};

struct PlanWedge {
    std::string ID;
    std::optional<double> angle; ///< degrees
    std::string type;            ///< "STATIC", "DYNAMIC", "MOTORIZED" or empty
};

struct PlanBlock {
    std::string name;
    std::string trayID;
    std::string type; ///< "SHIELDING", "APERTURE" or empty
};

struct PlanApplicator {
    std::string ID;
    std::string description;
    std::string shape;              ///< "SYM_SQUARE", "SYM_RECTANGLE", "SYM_CIRCULAR" or empty
    std::optional<double> opening;  ///< side of a square, diameter of a circle, mm
    std::optional<double> openingX; ///< sides of a rectangle, mm
    std::optional<double> openingY;
};

/// One beam of the plan, as the plan describes it.
struct PlanBeam {
    std::optional<int> number;
    std::string name;
    std::string machine;       ///< the treatment machine's name
    std::string radiationType; ///< "PHOTON", "ELECTRON", ...
    std::string beamType;      ///< "STATIC" or "DYNAMIC"
    std::string deliveryType;  ///< "TREATMENT", "SETUP", ... or empty
    std::optional<double> SAD; ///< source to axis distance, mm; NaN when it is no number
    std::optional<int> setupNumber;
    /// FinalCumulativeMetersetWeight; NaN when it is no number.
    std::optional<double> finalWeight;
    std::vector<PlanDevice> devices;
    std::vector<PlanWedge> wedges;
    std::vector<PlanBlock> blocks;
    std::vector<PlanApplicator> applicators;
    std::vector<PlanControlPoint> controlPoints;
};

/// What a fraction group gives one beam: its dose and meterset per fraction.
struct PlanBeamDose {
    std::optional<int> beamNumber;
    std::optional<double> dose;           ///< Gy at the beam's dose point
    std::optional<double> meterset;       ///< MU; NaN when it is no number
    std::optional<double> dosePointDepth; ///< mm
    /// BeamDoseSpecificationPoint, mm in the patient's frame (3 values); empty when none.
    std::vector<double> dosePoint;
};

struct PlanFractionGroup {
    std::optional<int> number;
    std::vector<PlanBeamDose> beams;
};

/// A patient set-up of the plan; its technique says how the beams that refer to it are set.
struct PlanSetup {
    std::optional<int> number;
    std::string technique; ///< "ISOCENTRIC", "FIXED_SSD", "TBI", ... or empty
    std::string position;  ///< PatientPosition: "HFS", "FFS", "HFP", ... or empty
};

struct PlanData {
    std::string patientName; ///< as the file gives it: components separated by "^"
    std::string patientID;
    std::string label;
    std::vector<PlanBeam> beams;
    std::vector<PlanFractionGroup> fractionGroups;
    std::vector<PlanSetup> setups;
};

} // namespace kova
