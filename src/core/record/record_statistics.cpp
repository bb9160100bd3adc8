#include "core/record/record_statistics.h"

#include "core/text/number_text.h"

#include <cmath>
#include <map>
#include <utility>

namespace kova::record {
namespace {

/// Mean, then the sample standard deviation from the deviations from it (two passes: no
/// loss of digits when the differences are large and close together).
void Summarize(DifferenceStatistics& statistics) {
    const std::vector<double>& values = statistics.differences;
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    statistics.mean = sum / static_cast<double>(values.size());
    if (values.size() < 2) {
        return;
    }
    double squares = 0;
    for (const double value : values) {
        squares += (value - statistics.mean) * (value - statistics.mean);
    }
    statistics.standardDeviation = std::sqrt(squares / static_cast<double>(values.size() - 1));
}

std::string Percent(double value) {
    return FormatFloat("0.00", value) + " %";
}

} // namespace

std::vector<DifferenceStatistics>
StatisticsByLinacAndEnergy(const std::vector<CheckRecord>& checks) {
    std::map<std::pair<std::string, std::string>, DifferenceStatistics> groups;
    for (const CheckRecord& check : checks) {
        if (!check.difference) {
            continue;
        }
        DifferenceStatistics& group = groups[{check.linac, check.energy}];
        group.linac = check.linac;
        group.energy = check.energy;
        group.differences.push_back(*check.difference);
    }
    std::vector<DifferenceStatistics> statistics;
    for (auto& [key, group] : groups) {
        Summarize(group);
        statistics.push_back(std::move(group));
    }
    return statistics;
}

std::string StatisticsLine(const DifferenceStatistics& statistics) {
    const std::size_t count = statistics.differences.size();
    return statistics.linac + " " + statistics.energy + ": " + std::to_string(count) +
           (count == 1 ? " check" : " checks") + ", mean " + Percent(statistics.mean) + ", SD " +
           (statistics.standardDeviation ? Percent(*statistics.standardDeviation) : "-");
}

HistogramBins BinsCovering(const std::vector<double>& values, double width) {
    HistogramBins bins;
    bins.width = width;
    if (values.empty() || !(width > 0)) {
        return bins;
    }
    double low = values.front();
    double high = values.front();
    for (const double value : values) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    const double firstBin = std::floor(low / width);
    bins.first = firstBin * width;
    bins.count = static_cast<std::size_t>(std::floor(high / width) - firstBin) + 1;
    return bins;
}

std::vector<std::size_t> BinCounts(const std::vector<double>& values, const HistogramBins& bins) {
    std::vector<std::size_t> counts(bins.count, 0);
    for (const double value : values) {
        const double bin = std::floor((value - bins.first) / bins.width);
        if (bin >= 0 && bin < static_cast<double>(bins.count)) {
            ++counts[static_cast<std::size_t>(bin)];
        }
    }
    return counts;
}

std::vector<BeamTrend> TrendsByBeam(const std::vector<CheckRecord>& checks) {
    std::vector<BeamTrend> trends;
    std::map<std::string, std::size_t> byBeam;
    for (const CheckRecord& check : checks) {
        if (!check.difference) {
            continue;
        }
        const std::string patient = check.patientID.empty() ? check.patientName : check.patientID;
        const std::string beam = patient + " - " + check.treatment + " - " + check.beamName;
        const auto [found, added] = byBeam.emplace(beam, trends.size());
        if (added) {
            trends.push_back({beam, {}, {}});
        }
        BeamTrend& trend = trends[found->second];
        trend.checkedAt.push_back(check.checkedAt);
        trend.differences.push_back(*check.difference);
    }
    return trends;
}

} // namespace kova::record
