// Checking a planning system's plan in the desktop program, offscreen through the real
// widgets: DICOM RT Plans imported from the workbench and a patient, the questions the plan
// leaves open answered in pick lists, refused beams listed, and the beams' TPS lines against
// the action levels of the program's folder.

#include "core/beams/beam.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/main_window.h"
#include "gui/modifier_value_dialog.h"
#include "gui/window_flows.h"
#include "support/demo_linacs.h"
#include "support/lnc_file.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <optional>

using kova::gui::Command;
using kova::gui::Dialogs;
using kova::gui::MainWindow;
using kova::gui::ModifierValueDialog;
using namespace kova::guitest;

namespace {

const kova::ProgramInfo kInfo{"KOVA X", "0.1.0"};

QString PydicomPlan() {
    return QStringLiteral(KOVA_PYDICOM_TEST_FILES "/rtplan.dcm");
}

QString TestPlan(const char* name) {
    return QStringLiteral(KOVA_RTPLAN_DIR "/") + QString::fromLatin1(name) + u".dcm";
}

/// The pydicom plan's beam (MU 114.2483 against 116.0037, +1.54 %, worked out in
/// rt_plan_reader_test.cpp) as the tree ends it.
const QString kPydicomTPSLine = QStringLiteral("TPS MU = 116 (difference 1.5 %)");

/// Runs "Import RT Plan..." on `file` with every window answered by `answer`.
void Import(MainWindow& window, const QString& file, Dialogs::ExecHook answer = {}) {
    Dialogs::SetOpenFileAnswer(file);
    Dialogs::SetMessageAnswer(QMessageBox::Ok);
    DialogAnswer answering(answer ? std::move(answer) : [](QDialog& dialog) {
        qWarning("unexpected window: %s", qPrintable(dialog.objectName()));
        return static_cast<int>(QDialog::Rejected);
    });
    window.action(Command::ImportPlan)->trigger();
    Dialogs::SetOpenFileAnswer(std::nullopt);
}

/// Picks `text` in a pick list; records each list's label in `labels`.
Dialogs::ExecHook Pick(const QString& text, QStringList* labels) {
    return [=](QDialog& dialog) {
        auto* list = qobject_cast<QInputDialog*>(&dialog);
        if (list == nullptr) {
            return static_cast<int>(QDialog::Rejected);
        }
        labels->append(list->labelText());
        if (text.isEmpty()) {
            list->reject();
        } else {
            list->setTextValue(text);
            list->accept();
        }
        return list->result();
    };
}

} // namespace

class PlanImportTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_unit001;

private slots:
    void initTestCase() {
        // The demo dual energy linac under the pydicom plan's machine name.
        std::string text = kova::test::DemoLinacText("demo_dual_energy.txt");
        text.replace(text.find("DualDemo"), std::string("DualDemo").size(), "unit001");
        kova::test::WriteLncFile(m_unit001.Path(), "unit001.lnc", text);
    }

    void init() { Dialogs::ClearShownMessages(); }

    void pydicomPlanShowsTheDifferenceAgainstTheActionLevels() {
        MainWindow window(kInfo, Folder(m_unit001));
        window.ScanLinacs();
        Import(window, QString()); // Cancel in the file dialog
        QCOMPARE(TopCount(window.WorkbenchTreeView), 0);
        Import(window, PydicomPlan());
        QCOMPARE(Dialogs::ShownMessages(), QStringList());
        // A new patient named and identified by the plan, one treatment per energy.
        QCOMPARE(TopCount(window.WorkbenchTreeView), 1);
        const Row patient = Top(window.WorkbenchTreeView, 0);
        QCOMPARE(Text(patient), QStringLiteral("Last First mid pre (id00001)"));
        QCOMPARE(Children(patient), QStringList({QStringLiteral("Plan1 6MV")}));
        const Row treatment = Child(patient, 0);
        QCOMPARE(Text(Child(treatment, 0)), QStringLiteral("Machine = unit001"));
        // 1.0275401 Gy typed as a user types it, to 0.01 cGy.
        QCOMPARE(Text(Child(treatment, 5)), QStringLiteral("Dose = 102.75 cGy"));
        Row beam = Child(treatment, 6);
        QCOMPARE(Text(beam), QStringLiteral("Field 1"));
        QVERIFY(window.document().modified());
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Imported 1 of 1 beams from rtplan.dcm."));

        // The action levels of the program's folder: none there, one that flags 1.5 %, a
        // broken one, one that does not.
        const kova::test::TempDir folder;
        const struct {
            const char* file; ///< null: no file
            bool beyond;
            const char* note; ///< empty: the note is hidden
        } rows[] = {
            {nullptr, false, "Default action levels: no ActionLevels.ini next to the program"},
            {"Photon Beam = 1\n", true, ""},
            {"Photon Beam = abc\n", false,
             "Default action levels: ActionLevels.ini, line 1: 'abc' is not a valid floating "
             "point value"},
            {"# TG-114\nPhoton Beam = 2\nElectron Beam = 4\n", false, ""},
        };
        for (const auto& row : rows) {
            if (row.file != nullptr) {
                kova::test::WriteBytesFile(folder.Path(), "ActionLevels.ini", row.file);
            }
            window.LoadActionLevels(Folder(folder));
            const QModelIndex line =
                LastChild(Child(Child(Top(window.WorkbenchTreeView, 0), 0), 6));
            QCOMPARE(Text(line),
                     row.beyond ? kPydicomTPSLine + u" beyond action level" : kPydicomTPSLine);
            QCOMPARE(line.data(Qt::DecorationRole).value<QIcon>().isNull(), !row.beyond);
            QCOMPARE(window.actionLevelsNote()->isVisibleTo(&window), *row.note != '\0');
            if (*row.note != '\0') {
                QCOMPARE(window.actionLevelsNote()->toolTip(), QString::fromLatin1(row.note));
            }
        }

        // Copy gives the lines the tree shows; the beam's dialog shows the plan's MU.
        kova::test::WriteBytesFile(folder.Path(), "ActionLevels.ini", "Photon Beam = 1\n");
        window.LoadActionLevels(Folder(folder));
        beam = Child(Child(Top(window.WorkbenchTreeView, 0), 0), 6);
        window.WorkbenchTreeView->setCurrentIndex(beam);
        window.CopyClick();
        QVERIFY(QApplication::clipboard()->text().endsWith(u"  " + kPydicomTPSLine +
                                                           u" beyond action level\n"));
        QString shown;
        {
            DialogAnswer answer([&shown](QDialog& dialog) {
                shown = Edit(dialog, "TPSMU")->text();
                return static_cast<int>(QDialog::Rejected);
            });
            window.EditBeamClick();
        }
        QCOMPARE(shown, QStringLiteral("116.0036697"));
    }

    void unknownMachineIsAskedThenImportedIntoThePatient() {
        // The demo linacs have no "unit001": the plan's machine is asked for, once.
        MainWindow window(kInfo, QStringLiteral(KOVA_DEMO_LINACS_DIR));
        window.ScanLinacs();
        QStringList labels;
        // Declined: the beam is refused and, with no beam, no patient is made.
        Import(window, PydicomPlan(), Pick({}, &labels));
        QCOMPARE(labels.size(), 1);
        QVERIFY2(labels[0].contains(u"the plan's machine 'unit001' is no linac"),
                 qPrintable(labels[0]));
        QCOMPARE(TopCount(window.WorkbenchTreeView), 0);
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY2(Dialogs::ShownMessages()[0].endsWith(u": not answered"),
                 qPrintable(Dialogs::ShownMessages()[0]));

        // On a patient: into that patient, on the linac picked.
        window.NewPatientClick();
        const Row patient = Top(window.WorkbenchTreeView, 0);
        window.WorkbenchTreeView->setCurrentIndex(patient);
        Dialogs::ClearShownMessages();
        labels.clear();
        Import(window, PydicomPlan(), Pick(QStringLiteral("DualDemo"), &labels));
        QCOMPARE(labels.size(), 1);
        QCOMPARE(Dialogs::ShownMessages(), QStringList());
        QCOMPARE(TopCount(window.WorkbenchTreeView), 1);
        QCOMPARE(Text(patient), QStringLiteral("New Patient"));
        QCOMPARE(ChildCount(patient), 1);
        QCOMPARE(Text(Child(Child(patient, 0), 0)), QStringLiteral("Machine = DualDemo"));
        // The same linac data as unit001: the same MU and difference.
        QCOMPARE(Text(LastChild(Child(Child(patient, 0), 6))), kPydicomTPSLine);
    }

    void imrtAndVmatBeamsAreTheirOwnKind() {
        // The sliding window and the VMAT arc computed as kova-mu computes them
        // (kova_mu_plan_test.cpp), in a treatment of their kind; the dialog only shows the
        // plan's inputs, and OK computes the same MU again.
        const struct {
            const char *plan, *treatment, *beam, *tpsLine;
        } rows[] = {
            {"sliding_window", "SW 6MV (IMRT/VMAT Beam)", "Sliding window",
             "TPS MU = 240 (difference 0.8 %)"},
            {"vmat", "VMAT 6MV (IMRT/VMAT Beam)", "Arc 1", "TPS MU = 250 (difference 0.4 %)"},
        };
        for (const auto& row : rows) {
            MainWindow window(kInfo, QStringLiteral(KOVA_DEMO_LINACS_DIR));
            window.ScanLinacs();
            Import(window, TestPlan(row.plan));
            QCOMPARE(Dialogs::ShownMessages(), QStringList());
            const Row treatment = Child(Top(window.WorkbenchTreeView, 0), 0);
            QCOMPARE(Text(treatment), QString::fromLatin1(row.treatment));
            const Row beam = LastChild(treatment);
            QCOMPARE(Text(beam), QString::fromLatin1(row.beam));
            QCOMPARE(Text(LastChild(beam)), QString::fromLatin1(row.tpsLine));
            const kova::TBeam& computed =
                *window.workbench().patients()[0]->treatments[0]->beams[0];
            QCOMPARE(computed.Kind(), kova::BeamKind::Dynamic);
            const double mu = computed.MU;
            window.WorkbenchTreeView->setCurrentIndex(beam);
            bool readOnly = false;
            const DialogAnswer answer([&readOnly](QDialog& dialog) {
                readOnly = Edit(dialog, "Segments")->isReadOnly() &&
                           Edit(dialog, "BeamDose")->isReadOnly();
                return Press(dialog, "Button1");
            });
            window.EditBeamClick();
            QVERIFY(readOnly);
            QCOMPARE(computed.MU, mu);
        }
    }

    void refusedBeamsAreListedInOneMessage() {
        MainWindow window(kInfo, QStringLiteral(KOVA_DEMO_LINACS_DIR));
        window.ScanLinacs();
        Import(window, TestPlan("arc"));
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QCOMPARE(
            Dialogs::ShownMessages()[0],
            QStringLiteral(
                "2 of 5 beams of arc.dcm were not imported:\n\n"
                "- No dose: the plan gives the beam no dose (no BeamDose above 0 in a fraction "
                "group)\n"
                "- Electron A99: the applicator 'A99' matches no applicator of 9MeV "
                "(applicators: 6x6, 10x10, 15x15, 20x20, 25x25)"));
        const Row patient = Top(window.WorkbenchTreeView, 0);
        // The arc and the sliding window first, in their own treatment.
        QCOMPARE(ChildCount(patient), 2);
        QCOMPARE(Text(Child(patient, 0)), QStringLiteral("REFUSED 6MV (IMRT/VMAT Beam)"));
        QCOMPARE(Text(Child(Child(patient, 1), 6)), QStringLiteral("Static"));

        // A file that is no RT Plan changes nothing and says why.
        Dialogs::ClearShownMessages();
        Import(window, TestPlan("not_a_plan"));
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY2(Dialogs::ShownMessages()[0].startsWith(u"not_a_plan.dcm: not an RT Plan"),
                 qPrintable(Dialogs::ShownMessages()[0]));
        QCOMPARE(TopCount(window.WorkbenchTreeView), 1);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Nothing imported."));
    }

    void trayMadeOnTheSpotAndAScreenshot() {
        // several.dcm: six beams on DualDemo, a set-up beam refused, and the tray
        // "Tray-X" that 6MV does not have, made on the spot with a factor of 0.9.
        MainWindow window(kInfo, QStringLiteral(KOVA_DEMO_LINACS_DIR));
        window.resize(640, 880);
        window.show();
        window.ScanLinacs();
        // The action levels of AAPM TG-114 written out, as a clinic would keep them.
        const kova::test::TempDir folder;
        kova::test::WriteBytesFile(folder.Path(), "ActionLevels.ini",
                                   "Photon Beam = 3\nPhoton Open/Wedged Beam = 3\n"
                                   "Electron Beam = 5\nTotal Body Irradiation = 5\n");
        window.LoadActionLevels(Folder(folder));
        QVERIFY(!window.actionLevelsNote()->isVisibleTo(&window));
        QStringList labels;
        Import(window, TestPlan("several"), [&labels](QDialog& dialog) {
            if (auto* spot = qobject_cast<ModifierValueDialog*>(&dialog)) {
                // The plan's name is offered.
                labels << spot->Name->text();
                Type(dialog, "Factor", QStringLiteral("0.9"));
                return Press(dialog, "OKBtn");
            }
            return Pick(QStringLiteral("Set on fly..."), &labels)(dialog);
        });
        QCOMPARE(labels.size(), 2);
        QVERIFY(labels[0].contains(u"the plan's block tray 'Tray-X' is no tray of 6MV"));
        QCOMPARE(labels[1], QStringLiteral("Tray-X"));
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY(Dialogs::ShownMessages()[0].endsWith(u"- Setup: not a treatment beam (SETUP)"));
        const Row patient = Top(window.WorkbenchTreeView, 0);
        QCOMPARE(Text(patient), QStringLiteral("Doe Jane Dr (KOVA-0003)"));
        // One treatment per energy, in the order of their first beams.
        QCOMPARE(Children(patient),
                 QStringList({QStringLiteral("SEVERAL 6MV"), QStringLiteral("SEVERAL 18MV"),
                              QStringLiteral("SEVERAL 9MeV")}));
        const Row photons = Child(patient, 0);
        QCOMPARE(Children(photons).mid(5),
                 QStringList({QStringLiteral("Dose = 300 cGy"), QStringLiteral("AP"),
                              QStringLiteral("SSD field"), QStringLiteral("Odd tray")}));
        // The tray of 0.9 raises the MU by 1 / 0.9: the plan's MU falls short.
        const Row oddTray = Child(photons, 8);
        QCOMPARE(Text(oddTray), QStringLiteral("Odd tray"));
        QVERIFY2(Text(LastChild(oddTray)).endsWith(u"beyond action level"),
                 qPrintable(Text(LastChild(oddTray))));

        const QByteArray screenshot = qgetenv("KOVA_PLAN_SCREENSHOT");
        if (!screenshot.isEmpty()) {
            window.WorkbenchTreeView->setCurrentIndex(oddTray);
            window.WorkbenchTreeView->scrollTo(LastChild(oddTray));
            QTest::qWait(200);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshot)));
        }
    }
};

KOVA_GUI_TEST(PlanImportTest)
#include "plan_import_test.moc"
