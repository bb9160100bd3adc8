#pragma once

#include "core/linac/energy.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kova {

/// What one plot of an energy's commissioning tables shows; the window names it and its axes.
enum class PlotKind {
    DepthDose,         ///< depth (cm) against depth dose, one curve per reference field
    FieldFactors,      ///< equivalent square (cm) against field factor and phantom scatter
    RefFieldSizes,     ///< the reference fields as points of width (cm) and height (cm)
    WedgeFactors,      ///< field size (cm) against wedge factor, one curve per wedge
    WedgeWarps,        ///< field size (cm) against depth-dose warp, one curve per wedge
    OffsetFactors,     ///< centre field offset (cm) against offset factor
    ApplicatorFactors, ///< applicator (its place in the list) against its factor, cGy / MU
};

/// What a series stands for: one table entry (named by its caption), or a quantity of its
/// plot, named by the window.
enum class SeriesRole { Entry, FieldFactor, PhantomScatter };

struct PlotPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

/// One curve (or set of points) of a plot, its points in the table's order so that a value
/// out of place shows as a kink.
struct PlotSeries {
    SeriesRole role = SeriesRole::Entry;
    std::string name; ///< the entry's caption (Windows-1252) for SeriesRole::Entry
    std::vector<PlotPoint> points;
};

/// One plot of an energy: its series, the names of its x positions for a plot over entries
/// that have no number (the applicators), and the point a beam's lookup read, if any.
struct Plot {
    PlotKind kind = PlotKind::DepthDose;
    std::vector<PlotSeries> series;
    std::vector<std::string> categories; ///< x = 0, 1, 2... are these (Windows-1252)
    std::optional<PlotPoint> mark;
};

/// Where a beam's calculation read each table and the value it got there, by plot.
using PlotMarks = std::map<PlotKind, PlotPoint>;

/// The texts typed in the editor of one entry and not yet stored: the plots show them in
/// place of the stored values, so that a mistyped figure stands out before it is kept. A
/// text that is not a number leaves the stored value.
struct PlotEdit {
    const EnergyListItem* entry = nullptr;
    FormTexts texts;
};

/// The plots of a photon energy: depth doses, field factors, reference field sizes, wedge
/// factors, wedge warps and offset factors, each with its mark from `marks`.
std::vector<Plot> PhotonPlots(const TgEnergy& energy, const PlotMarks& marks = {},
                              const PlotEdit& edit = {});

/// The plot of an electron energy: its applicators' factors.
std::vector<Plot> ElectronPlots(const TeEnergy& energy, const PlotMarks& marks = {},
                                const PlotEdit& edit = {});

} // namespace kova
