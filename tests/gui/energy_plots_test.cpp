// Energy plots: the charts hold the demo tables' points; a beam's marks and typed figures show.

#include "core/beams/beam.h"
#include "core/dosimetry/photon_lookups.h"
#include "gui/energy_plots_window.h"
#include "gui/gui_test.h"
#include "gui/linacs_menu.h"
#include "gui/qt_text.h"
#include "gui/window_flows.h"

#include <QChart>
#include <QRegularExpression>
#include <QTabWidget>
#include <QXYSeries>
#include <functional>

using namespace kova;
using namespace gui;
using namespace guitest;

namespace {

using Curves = QList<QPair<QString, QList<QPointF>>>;

/// The chart's series by name with their points; the beam's mark goes to `mark`.
Curves ChartCurves(const QChart* chart, QList<QPointF>* mark = nullptr) {
    Curves curves;
    for (QAbstractSeries* series : chart->series()) {
        const QList<QPointF> points = qobject_cast<QXYSeries*>(series)->points();
        if (series->objectName() != QStringLiteral("BeamMark")) {
            curves.append({series->name(), points});
        } else if (mark != nullptr) {
            *mark = points;
        }
    }
    return curves;
}

/// The points (x, y) of the entries of `list` that `keep`; x and y are members or functions.
template <class T, class X, class Y>
QList<QPointF> PointsOf(
    const EntryList<T>& list, X x, Y y,
    std::type_identity_t<bool (*)(const T&)> keep = [](const T&) { return true; }) {
    QList<QPointF> points;
    for (const auto& entry : list) {
        if (keep(*entry)) {
            points.append({std::invoke(x, *entry), std::invoke(y, *entry)});
        }
    }
    return points;
}

double Square(const RefField& f) {
    return EquivalentSquare(f.Width, f.Height);
}

Curves WedgeCurves(const TgEnergy& energy, double WFValue::*y) {
    Curves curves;
    for (const auto& wedge : energy.Wedges) {
        curves.append({ToQ(wedge->Caption()), PointsOf(wedge->WFValues, &WFValue::FieldSize, y)});
    }
    return curves;
}

/// What each plot of a photon energy must show, read from the tables here.
const std::pair<PlotKind, std::function<Curves(const TgEnergy&)>> kPhotonRows[] = {
    {PlotKind::DepthDose,
     [](const TgEnergy& e) {
         Curves curves;
         for (const auto& f : e.RefFields) {
             curves.append({ToQ(f->Caption()),
                            PointsOf(f->PDDValues, &PDDValue::Depth, &PDDValue::PercentDose)});
         }
         curves.removeIf([](const auto& curve) { return curve.second.isEmpty(); });
         return curves;
     }},
    {PlotKind::FieldFactors,
     [](const TgEnergy& e) {
         return Curves{
             {QStringLiteral("Field factor"),
              PointsOf(e.RefFields, Square, &RefField::FieldFactor)},
             {QStringLiteral("Phantom scatter"),
              PointsOf(e.RefFields, Square, &RefField::ScatterPhantomFactor,
                       [](const RefField& f) { return f.isScatterPhantomFactorAvailable; })}};
     }},
    {PlotKind::RefFieldSizes,
     [](const TgEnergy& e) {
         return Curves{{QStringLiteral("Reference fields"),
                        PointsOf(e.RefFields, &RefField::Width, &RefField::Height)}};
     }},
    {PlotKind::WedgeFactors, [](const auto& e) { return WedgeCurves(e, &WFValue::WF); }},
    {PlotKind::WedgeWarps, [](const auto& e) { return WedgeCurves(e, &WFValue::PDDWarp); }},
    {PlotKind::OffsetFactors,
     [](const TgEnergy& e) {
         return Curves{{QStringLiteral("Offset factor"),
                        PointsOf(e.OffsetFactors, &OFValue::CenterFieldOffset, &OFValue::OF)}};
     }},
};

} // namespace

class EnergyPlotsTest : public QObject {
    Q_OBJECT

private:
    ProgramInfo m_info{"KOVA X", "1.2.3"};

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
        LinacSpecWindow* window = main.linacsMenu()->Open(*linac);
        for (const auto& energy : linac->gEnergies) {
            const EnergyPlotsWindow* plots = window->ShowPlots(*energy);
            for (const auto& [kind, expected] : kPhotonRows) {
                QCOMPARE(ChartCurves(plots->chart(kind)), expected(*energy));
            }
        }
        for (const auto& energy : linac->eEnergies) {
            const Curves expected{
                {QStringLiteral("Applicator factor"),
                 PointsOf(
                     energy->Applicators, [i = 0.0](const auto&) mutable { return i++; },
                     &Applicator::AF)}};
            QCOMPARE(ChartCurves(window->ShowPlots(*energy)->chart(PlotKind::ApplicatorFactors)),
                     expected);
        }
    }
}

void EnergyPlotsTest::beamMarkAndTypedFigureShowAtOnce() {
    MainWindow main(m_info, QStringLiteral(KOVA_DEMO_LINACS_DIR));
    main.ScanLinacs();
    const Row treatment = AddTreatment(main, QStringLiteral("DualDemo"));
    QVERIFY(NewBeamMu(main, treatment, "W30") > 0);
    // Enter on a result line of the beam opens its energy's plots.
    main.WorkbenchTreeView->setCurrentIndex(Child(LastChild(treatment), 0));
    QTest::keyClick(main.WorkbenchTreeView, Qt::Key_Return);
    const BeamMachine& machine =
        main.workbench().patients().back()->treatments.back()->beams.back()->machine;
    LinacSpecWindow* window = main.linacsMenu()->WindowOf(*machine.linac);
    EnergyPlotsWindow* plots = window->PlotsOf(*machine.gEnergy);
    QVERIFY(plots != nullptr && plots->isVisible());

    // W30 at 10 x 10 cm, SSD 100 = SCD: the table row at 10 cm (warp 1.02, WF 0.565), the
    // 10 x 10 reference field (factor 1).
    const std::pair<PlotKind, QPointF> marks[] = {{PlotKind::WedgeFactors, {10, 0.565}},
                                                  {PlotKind::WedgeWarps, {10, 1.02}},
                                                  {PlotKind::RefFieldSizes, {10, 10}},
                                                  {PlotKind::FieldFactors, {10, 1}}};
    for (const auto& [kind, mark] : marks) {
        QList<QPointF> shown;
        ChartCurves(plots->chart(kind), &shown);
        QCOMPARE(shown, QList<QPointF>({mark}));
    }

    // 0.5 typed over W30's 0.565 at 10 cm shows before OK; Cancel shows the table again.
    // With KOVA_PLOTS_SCREENSHOT set, the wedge factors with the typo are saved there.
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
            if (const QByteArray screenshot = qgetenv("KOVA_PLOTS_SCREENSHOT");
                !screenshot.isEmpty()) {
                plots->Plots->setCurrentIndex(3);
                QTest::qWait(200);
                plots->grab().save(QString::fromLocal8Bit(screenshot));
            }
            return Press(dialog, "cancel");
        });
        window->cDisplayClick();
    }
    QCOMPARE(typed, QPointF(10, 0.5));
    QCOMPARE(w30Point(), QPointF(10, 0.565));
}

KOVA_GUI_TEST(EnergyPlotsTest)
#include "energy_plots_test.moc"
