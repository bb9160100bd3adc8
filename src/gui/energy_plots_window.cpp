#include "gui/energy_plots_window.h"

#include "gui/qt_text.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace kova::gui {
namespace {

/// The texts of one kind of plot: its tab, its axes and the names of its fixed series.
struct PlotTexts {
    PlotKind kind;
    const char* title;
    const char* xAxis;
    const char* yAxis;
    const char* entries; ///< the name of a single series of entries; null: named by entry
};

constexpr PlotTexts kPlotTexts[] = {
    {PlotKind::DepthDose, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Depth dose"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Depth [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Depth dose"), nullptr},
    {PlotKind::FieldFactors, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Field factors"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Equivalent square [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Factor"), nullptr},
    {PlotKind::RefFieldSizes, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Reference fields"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Width [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Height [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Reference fields")},
    {PlotKind::WedgeFactors, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Wedge factors"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Field size [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Wedge factor"), nullptr},
    {PlotKind::WedgeWarps, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Wedge warps"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Field size [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Depth-dose warp"), nullptr},
    {PlotKind::OffsetFactors, QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Offset factors"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Centre field offset [cm]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Offset factor"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Offset factor")},
    {PlotKind::ApplicatorFactors,
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Applicator factors"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Applicator"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Factor [cGy / MU]"),
     QT_TRANSLATE_NOOP("kova::gui::EnergyPlotsWindow", "Applicator factor")},
};

QString Tr(const char* text) {
    return EnergyPlotsWindow::tr(text);
}

const PlotTexts& TextsOf(PlotKind kind) {
    for (const PlotTexts& texts : kPlotTexts) {
        if (texts.kind == kind) {
            return texts;
        }
    }
    return kPlotTexts[0];
}

QString SeriesName(const PlotTexts& texts, const PlotSeries& series) {
    switch (series.role) {
    case SeriesRole::FieldFactor:
        return EnergyPlotsWindow::tr("Field factor");
    case SeriesRole::PhantomScatter:
        return EnergyPlotsWindow::tr("Phantom scatter");
    case SeriesRole::Entry:
        break;
    }
    return texts.entries != nullptr ? Tr(texts.entries) : ToQ(series.name);
}

/// Points without a line for the reference fields (a plane, not a curve); a line through its
/// points for every table along one axis.
QXYSeries* NewSeries(PlotKind kind) {
    if (kind == PlotKind::RefFieldSizes || kind == PlotKind::ApplicatorFactors) {
        auto* points = new QScatterSeries;
        points->setMarkerSize(9);
        return points;
    }
    auto* line = new QLineSeries;
    line->setPointsVisible(true);
    return line;
}

/// The beam's lookup point: large and red, so that it stands out from the table's points.
QScatterSeries* MarkSeries(const PlotPoint& mark) {
    auto* series = new QScatterSeries;
    series->setObjectName(QStringLiteral("BeamMark"));
    series->setName(EnergyPlotsWindow::tr("This beam"));
    series->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    series->setMarkerSize(13);
    series->setColor(Qt::red);
    series->append(mark.x, mark.y);
    return series;
}

/// The x axis of the applicators: their names at their places.
void NameApplicators(QChart& chart, const Plot& plot) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (std::size_t i = 0; i < plot.categories.size(); ++i) {
        axis->append(ToQ(plot.categories[i]), static_cast<double>(i));
    }
    axis->setRange(-0.5, static_cast<double>(plot.categories.size()) - 0.5);
    QAbstractAxis* numbered = chart.axes(Qt::Horizontal).value(0);
    chart.removeAxis(numbered);
    delete numbered;
    chart.addAxis(axis, Qt::AlignBottom);
    for (QAbstractSeries* series : chart.series()) {
        series->attachAxis(axis);
    }
}

void TitleAxes(QChart& chart, const PlotTexts& texts) {
    for (QAbstractAxis* axis : chart.axes()) {
        const bool across = axis->orientation() == Qt::Horizontal;
        axis->setTitleText(Tr(across ? texts.xAxis : texts.yAxis));
        if (auto* values = qobject_cast<QValueAxis*>(axis)) {
            values->applyNiceNumbers();
        }
    }
}

/// Empties `chart` and draws `plot` on it.
void DrawPlot(QChart& chart, const Plot& plot) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    const PlotTexts& texts = TextsOf(plot.kind);
    for (const PlotSeries& shown : plot.series) {
        QXYSeries* series = NewSeries(plot.kind);
        series->setName(SeriesName(texts, shown));
        for (const PlotPoint& point : shown.points) {
            series->append(point.x, point.y);
        }
        chart.addSeries(series);
    }
    if (plot.mark) {
        chart.addSeries(MarkSeries(*plot.mark));
    }
    chart.createDefaultAxes();
    TitleAxes(chart, texts);
    if (plot.kind == PlotKind::ApplicatorFactors) {
        NameApplicators(chart, plot);
    }
}

} // namespace

EnergyPlotsWindow::EnergyPlotsWindow(const TgEnergy& energy, QWidget* parent)
    : EnergyPlotsWindow(
          energy,
          [&energy](const PlotMarks& marks, const PlotEdit& edit) {
              return PhotonPlots(energy, marks, edit);
          },
          parent) {
}

EnergyPlotsWindow::EnergyPlotsWindow(const TeEnergy& energy, QWidget* parent)
    : EnergyPlotsWindow(
          energy,
          [&energy](const PlotMarks& marks, const PlotEdit& edit) {
              return ElectronPlots(energy, marks, edit);
          },
          parent) {
}

EnergyPlotsWindow::EnergyPlotsWindow(const TEnergy& energy, Builder builder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_energy(energy), m_builder(std::move(builder)) {
    setObjectName(QStringLiteral("EnergyPlotsWindow"));
    Plots = new QTabWidget;
    Plots->setObjectName(QStringLiteral("Plots"));
    for (const Plot& plot : m_builder({}, {})) {
        auto* view = new QChartView(new QChart);
        view->setRenderHint(QPainter::Antialiasing);
        Plots->addTab(view, Tr(TextsOf(plot.kind).title));
        m_kinds.push_back(plot.kind);
        m_views.push_back(view);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Plots);
    Refresh();
    resize(720, 480);
}

void EnergyPlotsWindow::SetMarks(PlotMarks marks) {
    m_marks = std::move(marks);
    Refresh();
}

QChart* EnergyPlotsWindow::chart(PlotKind kind) const {
    for (std::size_t i = 0; i < m_kinds.size(); ++i) {
        if (m_kinds[i] == kind) {
            return m_views[i]->chart();
        }
    }
    return nullptr;
}

void EnergyPlotsWindow::Refresh() {
    Draw({});
}

void EnergyPlotsWindow::ShowEdit(const EnergyListItem* entry, const FormTexts& texts) {
    Draw(PlotEdit{entry, texts});
}

void EnergyPlotsWindow::Draw(const PlotEdit& edit) {
    // The energy may have been renamed in its window.
    setWindowTitle(tr("Plots of %1").arg(ToQ(m_energy.Name)));
    const std::vector<Plot> plots = m_builder(m_marks, edit);
    for (std::size_t i = 0; i < plots.size() && i < m_views.size(); ++i) {
        DrawPlot(*m_views[i]->chart(), plots[i]);
    }
}

} // namespace kova::gui
