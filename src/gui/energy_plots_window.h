#pragma once

#include "core/dosimetry/energy_plots.h"

#include <QWidget>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QTabWidget;

namespace kova::gui {

/// The plots of one energy's commissioning tables, one tab per plot: depth doses, field
/// factors, reference field sizes, wedge factors and warps, offset factors for a photon
/// energy; applicator factors for an electron energy. The points are the core's
/// (`PhotonPlots`, `ElectronPlots`); this window only draws them. Opened from a beam, each
/// plot also marks the point the beam's calculation read.
class EnergyPlotsWindow : public QWidget {
    Q_OBJECT

public:
    EnergyPlotsWindow(const TgEnergy& energy, QWidget* parent = nullptr);
    EnergyPlotsWindow(const TeEnergy& energy, QWidget* parent = nullptr);

    /// Marks these lookup points from now on (none: no beam).
    void SetMarks(PlotMarks marks);
    /// The chart of one plot; null for a plot the energy's kind has not.
    QChart* chart(PlotKind kind) const;

    QTabWidget* Plots = nullptr;

public slots:
    /// Draws the tables again as they are stored.
    void Refresh();
    /// Draws `entry` with the texts typed in its editor in place of its stored values.
    void ShowEdit(const kova::EnergyListItem* entry, const kova::FormTexts& texts);

private:
    using Builder = std::function<std::vector<Plot>(const PlotMarks&, const PlotEdit&)>;

    EnergyPlotsWindow(const TEnergy& energy, Builder builder, QWidget* parent);
    void Draw(const PlotEdit& edit);

    const TEnergy& m_energy;
    Builder m_builder;
    PlotMarks m_marks;
    std::vector<PlotKind> m_kinds; ///< the plot of each tab
    std::vector<QChartView*> m_views;
};

} // namespace kova::gui
