#pragma once

#include "core/common/result.h"
#include "core/dosimetry/trace.h"
#include "core/linac/energy.h"
#include "core/text/date_text.h"

#include <optional>

namespace kova {

/// Equivalent square of an a x b field (cm): 2ab / (a + b) when a + b > 1, else 0.
double EquivalentSquare(double a, double b);

/// A factor read from a table, and whether it came from a single entry (false when it was
/// interpolated or weighted between entries; such values are shown with a "*").
struct TableValue {
    double value = 0;
    bool fromTable = true;
};

/// Field (output) factor for a collimator field at the SCD plane (cm): the tabulated value
/// for a tabulated field, inverse-square-distance weighting of four surrounding fields, or
/// linear interpolation over equivalent squares. Fails without reference fields. `trace`,
/// when given, gets where the value comes from (the same holds for every lookup below).
Result<TableValue> LookupFieldFactor(const TgEnergy& energy, double width, double height,
                                     Trace* trace = nullptr);

/// Phantom scatter factor over the equivalent square of the field, from the reference fields
/// that have one. Fails when none has.
Result<TableValue> LookupPhantomScatter(const TgEnergy& energy, double width, double height,
                                        Trace* trace = nullptr);

/// The depth-dose figures of one beam.
struct DepthDoseSet {
    double ssdPDD = 0;     ///< depth dose converted to the beam's SSD (Mayneord factor)
    double tmr = 0;        ///< depth dose converted to a tissue-maximum ratio
    double scdPDD = 0;     ///< depth dose as tabulated (SSD = SCD) at the effective depth
    double scdPDDSize = 0; ///< equivalent square of the field at which it was looked up, cm
    bool fromTable = true;
};

/// A depth-dose table that does not reach the depth it was read at: its first and last
/// depths and its reference field, cm.
struct DepthOutsideTable {
    double first = 0, last = 0;
    double fieldWidth = 0, fieldHeight = 0;
};

/// The traces of a depth-dose set: the table reading (with the field's scaling) and the
/// conversions, and the equivalent square of the scaled field.
struct DepthDoseTraces {
    Trace scdPDD, tmr, ssdPDD, scdPDDSize;
};

/// Depth dose for a beam at SSD `ssd` (cm), geometric depth `depth`, table depth
/// `effectiveDepth`, collimator field width x height at the SCD plane. The field is scaled to
/// the size it has at depth at SSD = SCD. A depth equal to the build-up gives 1 without any
/// table. Fails when the depth lies outside a depth-dose table used (then `outside`, when
/// given, says which table and how far it reaches), or no field has one.
Result<DepthDoseSet> LookupDepthDose(const TgEnergy& energy, double ssd, double depth,
                                     double effectiveDepth, double width, double height,
                                     std::optional<DepthOutsideTable>* outside = nullptr,
                                     DepthDoseTraces* traces = nullptr);

/// Offset factor for a field centre `offset` cm from the axis, linear between tabulated
/// offsets and held beyond them. Fails without offset factors.
Result<double> LookupOffsetFactor(const TgEnergy& energy, double offset, Trace* trace = nullptr);

/// MU per cGy on `today`: 1 / (cGyUMRatio x e^(-ln2 x days / (HalfLife x 365))), days whole
/// days since CalDate; without half-life 1 / cGyUMRatio. Fails for a calibration factor that
/// is not positive, a negative half-life, and (with a half-life) a CalDate that is not a
/// date, lies after today or lies more than ten half-lives before it.
Result<double> CalibrationMUPerCGy(const TgEnergy& energy, const Date& today,
                                   Trace* trace = nullptr);

} // namespace kova
