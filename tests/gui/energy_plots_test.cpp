// The plots of an energy's tables: every demo energy's charts hold its tables' points, and a
// beam's lookup points and a figure typed in an entry's editor show on them at once.

#include "core/beams/beam.h"
#include "core/dosimetry/photon_lookups.h"
#include "gui/energy_plots_window.h"
#include "gui/gui_test.h"
#include "gui/linacs_menu.h"
#include "gui/qt_text.h"
#include "gui/window_flows.h"

#include <QAction>
#include <QChart>
#include <QLineEdit>
#include <QRegularExpression>
#include <QXYSeries>
#include <functional>

using kova::PlotKind;
using kova::gui::EnergyPlotsWindow;
using kova::gui::MainWindow;
using kova::gui::ToQ;
using namespace kova::guitest;

namespace {

using Curves = QList<QPair<QString, QList<QPointF>>>;

/// The chart's series by name with their points, the beam's mark apart.
Curves ChartCurves(const QChart* chart, QList<QPointF>* mark = nullptr) {
    Curves curves;
    for (QAbstractSeries* series : chart->series()) {
        const auto* points = qobject_cast<QXYSeries*>(series);
        if (series->objectName() == QStringLiteral("BeamMark") && mark != nullptr) {
            *mark = points->points();
        } else if (series->objectName() != QStringLiteral("BeamMark")) {
            curves.append({series->name(), points->points()});
        }
    }
    return curves;
}

template <class List, class Point>
QList<QPointF> PointsOf(const List& entries, Point point) {
    QList<QPointF> points;
    for (const auto& entry : entries) {
        points.append(point(*entry));
    }
    return points;
}

/// What each plot of a photon energy must show, read from the tables here.
struct PhotonRow {
    PlotKind kind;
    std::function<Curves(const kova::TgEnergy&)> expected;
};

Curves WedgeCurves(const kova::TgEnergy& energy, double kova::WFValue::*y) {
    Curves curves;
    for (const auto& wedge : energy.Wedges) {
        curves.append({ToQ(wedge->Caption()), PointsOf(wedge->WFValues, [y](const auto& v) {
                           return QPointF(v.FieldSize, v.*y);
                       })});
    }
    return curves;
}

const PhotonRow kPhotonRows[] = {
    {PlotKind::DepthDose,
     [](const kova::TgEnergy& e) {
         Curves curves;
         for (const auto& field : e.RefFields) {
             if (!field->PDDValues.empty()) {
                 curves.append(
                     {ToQ(field->Caption()), PointsOf(field->PDDValues, [](const auto& v) {
                          return QPointF(v.Depth, v.PercentDose);
                      })});
             }
         }
         return curves;
     }},
    {PlotKind::FieldFactors,
     [](const kova::TgEnergy& e) {
         QList<QPointF> scatter;
         for (const auto& f : e.RefFields) {
             if (f->isScatterPhantomFactorAvailable) {
                 scatter.append(
                     {kova::EquivalentSquare(f->Width, f->Height), f->ScatterPhantomFactor});
             }
         }
         return Curves{{QStringLiteral("Field factor"),
                        PointsOf(e.RefFields,
                                 [](const auto& f) {
                                     return QPointF(kova::EquivalentSquare(f.Width, f.Height),
                                                    f.FieldFactor);
                                 })},
                       {QStringLiteral("Phantom scatter"), scatter}};
     }},
    {PlotKind::RefFieldSizes,
     [](const kova::TgEnergy& e) {
         return Curves{
             {QStringLiteral("Reference fields"),
              PointsOf(e.RefFields, [](const auto& f) { return QPointF(f.Width, f.Height); })}};
     }},
    {PlotKind::WedgeFactors, [](const auto& e) { return WedgeCurves(e, &kova::WFValue::WF); }},
    {PlotKind::WedgeWarps, [](const auto& e) { return WedgeCurves(e, &kova::WFValue::PDDWarp); }},
    {PlotKind::OffsetFactors,
     [](const kova::TgEnergy& e) {
         return Curves{
             {QStringLiteral("Offset factor"), PointsOf(e.OffsetFactors, [](const auto& v) {
                  return QPointF(v.CenterFieldOffset, v.OF);
              })}};
     }},
};

} // namespace

class EnergyPlotsTest : public QObject {
    Q_OBJECT

private:
    kova::ProgramInfo m_info{"KOVA X", "1.2.3"};

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support)")));
    }

    void chartsHoldTheTablesPoints();
    void beamMarkAndTypedFigureShowAtOnce();
};

void EnergyPlotsTest::chartsHoldTheTablesPoints() {
    MainWindow main(m_info, QStringLiteral(KOVA_DEMO_LINACS_DIR));
    main.ScanLinacs();
    QVERIFY(main.LinacList().size() >= 2);
    for (const auto& linac : main.LinacList()) {
        kova::gui::LinacSpecWindow* window = main.linacsMenu()->Open(*linac);
        for (const auto& energy : linac->gEnergies) {
            const EnergyPlotsWindow* plots = window->ShowPlots(*energy);
            for (const PhotonRow& row : kPhotonRows) {
                QCOMPARE(ChartCurves(plots->chart(row.kind)), row.expected(*energy));
            }
        }
        for (const auto& energy : linac->eEnergies) {
            const Curves expected{{QStringLiteral("Applicator factor"),
                                   PointsOf(energy->Applicators, [i = 0](const auto& a) mutable {
                                       return QPointF(i++, a.AF);
                                   })}};
            QCOMPARE(ChartCurves(window->ShowPlots(*energy)->chart(PlotKind::ApplicatorFactors)),
                     expected);
        }
    }
}

void EnergyPlotsTest::beamMarkAndTypedFigureShowAtOnce() {
    MainWindow main(m_info, QStringLiteral(KOVA_DEMO_LINACS_DIR));
    main.ScanLinacs();
    const Row treatment = AddTreatment(main, QStringLiteral("KovaDemo-DE"));
    QVERIFY(NewBeamMu(main, treatment, "W30") > 0);
    main.WorkbenchTreeView->setCurrentIndex(LastChild(treatment));
    main.action(kova::gui::Command::Plots)->trigger();
    const kova::BeamMachine& machine =
        main.workbench().patients().back()->treatments.back()->beams.back()->machine;
    kova::gui::LinacSpecWindow* window = main.linacsMenu()->WindowOf(*machine.linac);
    EnergyPlotsWindow* plots = window->PlotsOf(*machine.gEnergy);
    QVERIFY(plots != nullptr && plots->isVisible());

    // W30 at 10 x 10 cm, SSD 100 = SCD: the table row at 10 cm (warp 1.02, WF 0.565), the
    // 10 x 10 reference field (factor 1), effective depth 1.5 + (10 - 1.5) x 1.02 = 10.17.
    struct Mark {
        PlotKind kind;
        double x, y;
    };
    const Mark marks[] = {{PlotKind::WedgeFactors, 10, 0.565},
                          {PlotKind::WedgeWarps, 10, 1.02},
                          {PlotKind::RefFieldSizes, 10, 10},
                          {PlotKind::FieldFactors, 10, 1}};
    for (const Mark& mark : marks) {
        QList<QPointF> shown;
        ChartCurves(plots->chart(mark.kind), &shown);
        QCOMPARE(shown, QList<QPointF>({QPointF(mark.x, mark.y)}));
    }
    QList<QPointF> depth;
    ChartCurves(plots->chart(PlotKind::DepthDose), &depth);
    QCOMPARE(depth.value(0).x(), 10.17);

    // 0.5 typed over W30's 0.565 at 10 cm shows before OK; Cancel shows the table again.
    Select(*window,
           {QStringLiteral("6MV (6 MV)"), QStringLiteral("Wedges"), QStringLiteral("W30 (Static)"),
            QStringLiteral("Wedge Factors"), QStringLiteral("10 cm")});
    const auto w30Point = [&] {
        return ChartCurves(plots->chart(PlotKind::WedgeFactors)).value(1).second.value(2);
    };
    QPointF typed;
    {
        DialogAnswer answer([&](QDialog& dialog) {
            Type(dialog, "WF", QStringLiteral("0.5"));
            typed = w30Point();
            return Press(dialog, "cancel");
        });
        window->cDisplayClick();
    }
    QCOMPARE(typed, QPointF(10, 0.5));
    QCOMPARE(w30Point(), QPointF(10, 0.565));
}

KOVA_GUI_TEST(EnergyPlotsTest)
#include "energy_plots_test.moc"
