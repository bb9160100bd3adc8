#pragma once

// Figures over many checks: how far the differences from the planning system spread per linac
// and energy, and how each beam's difference moves over time. A systematic error (a wrong
// output factor, a drifting planning model) shows as a mean away from zero or a trend.

#include "core/record/check_record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kova::record {

/// The differences (TPS - KOVA) / KOVA of the checks of one linac and energy, percent.
struct DifferenceStatistics {
    std::string linac;
    std::string energy;
    std::vector<double> differences; ///< in record order; checks without a TPS MU left out
    double mean = 0;
    /// Sample standard deviation (divided by n - 1); none for a single difference.
    std::optional<double> standardDeviation;
};

/// The statistics of every linac and energy among `checks` that has a check with a TPS MU,
/// sorted by linac, then energy.
std::vector<DifferenceStatistics>
StatisticsByLinacAndEnergy(const std::vector<CheckRecord>& checks);

/// "KovaDemo-DE 6 MV: 3 checks, mean 1.23 %, SD 0.45 %" (SD "-" for one check); two
/// decimals, as differences are shown.
std::string StatisticsLine(const DifferenceStatistics& statistics);

/// Bins of equal width over a set of differences: bin k holds the values from
/// first + k x width up to, not including, first + (k + 1) x width.
struct HistogramBins {
    double first = 0; ///< lower edge of the first bin, a multiple of the width, percent
    double width = 1; ///< percent, above 0
    std::size_t count = 0;
};

/// The bins on multiples of `width` that hold every value of `values` (none for no value).
HistogramBins BinsCovering(const std::vector<double>& values, double width);

/// How many of `values` fall into each bin of `bins`; a value outside them is left out.
std::vector<std::size_t> BinCounts(const std::vector<double>& values, const HistogramBins& bins);

/// The differences of one beam (one patient, treatment and beam name) over time.
struct BeamTrend {
    std::string beam;                   ///< "PATIENT ID - TREATMENT - BEAM"
    std::vector<std::string> checkedAt; ///< ISO 8601 UTC, in record order
    std::vector<double> differences;    ///< percent, one per time
};

/// The trend of every beam among `checks` that has a check with a TPS MU, in the order of
/// each beam's first check.
std::vector<BeamTrend> TrendsByBeam(const std::vector<CheckRecord>& checks);

} // namespace kova::record
