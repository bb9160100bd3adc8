#include "core/dosimetry/energy_plots.h"

#include "core/dosimetry/photon_lookups.h"
#include "core/text/number_text.h"

#include <cmath>

namespace kova {
namespace {

/// Reads what an entry shows on a plot: its stored values, or for the entry being edited the
/// texts typed in its editor.
class ShownValues {
public:
    explicit ShownValues(const PlotEdit& edit) : m_edit(edit) {}

    /// The value of `control` of `entry`: the typed number when it is the edited entry and
    /// its text is a finite number, else `stored`.
    double Number(const EnergyListItem& entry, const char* control, double stored) const {
        const std::string* typed = Typed(entry, control);
        if (typed == nullptr) {
            return stored;
        }
        const Result<double> value = StrToFloat(*typed);
        return value && std::isfinite(*value) ? *value : stored;
    }

    bool Check(const EnergyListItem& entry, const char* control, bool stored) const {
        const std::string* typed = Typed(entry, control);
        return typed == nullptr ? stored : *typed == "1";
    }

private:
    const std::string* Typed(const EnergyListItem& entry, const char* control) const {
        if (&entry != m_edit.entry) {
            return nullptr;
        }
        const auto found = m_edit.texts.find(control);
        return found == m_edit.texts.end() ? nullptr : &found->second;
    }

    const PlotEdit& m_edit;
};

Plot MakePlot(PlotKind kind, const PlotMarks& marks) {
    Plot plot;
    plot.kind = kind;
    if (const auto mark = marks.find(kind); mark != marks.end()) {
        plot.mark = mark->second;
    }
    return plot;
}

PlotPoint RefFieldSize(const RefField& field, const ShownValues& shown) {
    return {shown.Number(field, "Width", field.Width), shown.Number(field, "Height", field.Height)};
}

Plot DepthDosePlot(const TgEnergy& energy, const PlotMarks& marks, const ShownValues& shown) {
    Plot plot = MakePlot(PlotKind::DepthDose, marks);
    for (const auto& field : energy.RefFields) {
        if (field->PDDValues.empty()) {
            continue;
        }
        PlotSeries curve{SeriesRole::Entry, field->Caption(), {}};
        for (const auto& value : field->PDDValues) {
            curve.points.push_back({shown.Number(*value, "Depth", value->Depth),
                                    shown.Number(*value, "PercentDose", value->PercentDose)});
        }
        plot.series.push_back(std::move(curve));
    }
    return plot;
}

/// Field factor and phantom scatter over the equivalent square of each reference field, the
/// axis their one-dimensional lookups use.
Plot FieldFactorPlot(const TgEnergy& energy, const PlotMarks& marks, const ShownValues& shown) {
    Plot plot = MakePlot(PlotKind::FieldFactors, marks);
    PlotSeries factors{SeriesRole::FieldFactor, {}, {}};
    PlotSeries scatter{SeriesRole::PhantomScatter, {}, {}};
    for (const auto& field : energy.RefFields) {
        const PlotPoint size = RefFieldSize(*field, shown);
        const double square = EquivalentSquare(size.x, size.y);
        factors.points.push_back({square, shown.Number(*field, "FieldFactor", field->FieldFactor)});
        if (shown.Check(*field, "isScatterPhantomFactorAvailable",
                        field->isScatterPhantomFactorAvailable)) {
            scatter.points.push_back({square, shown.Number(*field, "ScatterPhantomFactor",
                                                           field->ScatterPhantomFactor)});
        }
    }
    plot.series = {std::move(factors), std::move(scatter)};
    return plot;
}

Plot RefFieldSizePlot(const TgEnergy& energy, const PlotMarks& marks, const ShownValues& shown) {
    Plot plot = MakePlot(PlotKind::RefFieldSizes, marks);
    PlotSeries sizes{SeriesRole::Entry, {}, {}};
    for (const auto& field : energy.RefFields) {
        sizes.points.push_back(RefFieldSize(*field, shown));
    }
    plot.series.push_back(std::move(sizes));
    return plot;
}

/// One curve per wedge of field size against the wedge factor (or the warp).
Plot WedgePlot(const TgEnergy& energy, PlotKind kind, const PlotMarks& marks,
               const ShownValues& shown) {
    Plot plot = MakePlot(kind, marks);
    for (const auto& wedge : energy.Wedges) {
        PlotSeries curve{SeriesRole::Entry, wedge->Caption(), {}};
        for (const auto& value : wedge->WFValues) {
            const double y = kind == PlotKind::WedgeFactors
                                 ? shown.Number(*value, "WF", value->WF)
                                 : shown.Number(*value, "PDDWarp", value->PDDWarp);
            curve.points.push_back({shown.Number(*value, "FieldSize", value->FieldSize), y});
        }
        plot.series.push_back(std::move(curve));
    }
    return plot;
}

Plot OffsetPlot(const TgEnergy& energy, const PlotMarks& marks, const ShownValues& shown) {
    Plot plot = MakePlot(PlotKind::OffsetFactors, marks);
    PlotSeries factors{SeriesRole::Entry, {}, {}};
    for (const auto& value : energy.OffsetFactors) {
        factors.points.push_back(
            {shown.Number(*value, "CenterFieldOffset", value->CenterFieldOffset),
             shown.Number(*value, "OF", value->OF)});
    }
    plot.series.push_back(std::move(factors));
    return plot;
}

} // namespace

std::vector<Plot> PhotonPlots(const TgEnergy& energy, const PlotMarks& marks,
                              const PlotEdit& edit) {
    const ShownValues shown(edit);
    return {DepthDosePlot(energy, marks, shown),
            FieldFactorPlot(energy, marks, shown),
            RefFieldSizePlot(energy, marks, shown),
            WedgePlot(energy, PlotKind::WedgeFactors, marks, shown),
            WedgePlot(energy, PlotKind::WedgeWarps, marks, shown),
            OffsetPlot(energy, marks, shown)};
}

std::vector<Plot> ElectronPlots(const TeEnergy& energy, const PlotMarks& marks,
                                const PlotEdit& edit) {
    const ShownValues shown(edit);
    Plot plot = MakePlot(PlotKind::ApplicatorFactors, marks);
    PlotSeries factors{SeriesRole::Entry, {}, {}};
    for (const auto& applicator : energy.Applicators) {
        const double place = static_cast<double>(plot.categories.size());
        factors.points.push_back({place, shown.Number(*applicator, "AF", applicator->AF)});
        plot.categories.push_back(applicator->Name);
    }
    plot.series.push_back(std::move(factors));
    return {std::move(plot)};
}

} // namespace kova
