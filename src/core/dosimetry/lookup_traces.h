#pragma once

// The traces the photon lookups fill: reference fields as entries, the scaling of a field to
// SSD = SCD, the conversions of a depth-dose set. Only the lookups use them.

#include "core/dosimetry/photon_lookups.h"

#include <string>
#include <vector>

namespace kova {

/// "10 cm x 12 cm".
std::string RefFieldText(const RefField& field);

/// A reference field as a trace entry: its width and height (after its equivalent square
/// when `bySquare`) and its value (named `valueName`), itself traced when `from` holds how it
/// was read.
TraceEntry FieldEntry(const RefField& field, bool bySquare, const char* valueName, double value,
                      std::vector<Trace> from = {});

/// A trace read at the field (x, y) cm from `table` by `rule`.
Trace FieldTrace(std::string table, TraceRule rule, double x, double y);

/// The point of a depth-dose trace with the scaling of the field (width x height to xs x ys
/// at SSD = SCD, for a beam at `ssd` and `depth` on an energy of calibration distance `scd`,
/// cm), and the equivalent square of the two when the fields were read by it.
void AttachFieldScaling(Trace& trace, double ssd, double depth, double scd, double width,
                        double height, double xs, double ys);

/// The traces of a depth-dose set `set` read at the table depth dose traced by `pTrace`;
/// `geometry` holds SCD, SSD, d and b.
void TraceDepthDose(DepthDoseTraces& traces, Trace pTrace, const DepthDoseSet& set,
                    const std::vector<TraceNumber>& geometry);

} // namespace kova
