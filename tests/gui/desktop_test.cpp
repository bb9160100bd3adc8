// The desktop program as a physicist lives in it all day, driven offscreen through its real
// widgets: the workbench file across a restart, unsaved work, the menu bar and keys, the
// tree's mouse and drop behaviour, the status bar and Help, window titles, size and place.

#include "core/beams/beam.h"
#include "core/workbench/workbench_text.h"
#include "gui/application.h"
#include "gui/gui_test.h"
#include "gui/linac_spec_window.h"
#include "gui/linacs_menu.h"
#include "gui/record_form.h"
#include "gui/tbi_beam_dialog.h"
#include "gui/treatment_dialog.h"
#include "gui/window_flows.h"
#include "gui/workbench_model.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <filesystem>

using kova::gui::Command;
using kova::gui::Dialogs;
using kova::gui::MainWindow;
using kova::gui::TreatmentDialog;
using kova::gui::WorkbenchTree;
using namespace kova::guitest;

namespace {

const kova::ProgramInfo kInfo{"KOVA X", "0.1.0"};

QString Demo() {
    return QStringLiteral(KOVA_DEMO_LINACS_DIR);
}

void Choose(QDialog& dialog, const char* list, const QString& text) {
    auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(list));
    combo->setCurrentIndex(combo->findText(text));
}

/// Answers the beam dialogs of the three kinds and "Set on fly..." the way a user fills them.
int FillBeam(QDialog& dialog) {
    const QString kind = dialog.objectName();
    if (kind == u"ModifierValueDialog") {
        Type(dialog, "Name", QStringLiteral("Tray plan 7"));
        Type(dialog, "Factor", QStringLiteral("0.962"));
        return Press(dialog, "OKBtn");
    }
    Type(dialog, "BeamName", QStringLiteral("AP"));
    Type(dialog, "BeamDose", QStringLiteral("200"));
    if (kind == u"PhotonBeamDialog") {
        dialog.findChild<QRadioButton*>(QStringLiteral("TechniqueNotIsocentric"))->click();
        Type(dialog, "BeamDepth", QStringLiteral("8"));
        Type(dialog, "BeamSSD", QStringLiteral("95"));
        Type(dialog, "BeamWidth", QStringLiteral("12"));
        Type(dialog, "BeamHeight", QStringLiteral("15"));
        Choose(dialog, "WedgeComp", QStringLiteral("W30"));
        Choose(dialog, "TrayComp", QString::fromLatin1(kova::kSetOnFlyItem));
    } else if (kind == u"ElectronBeamDialog") {
        Type(dialog, "BeamWidth", QStringLiteral("10"));
        Type(dialog, "BeamHeight", QStringLiteral("12"));
        Choose(dialog, "ApplicatorComp", QStringLiteral("15x15"));
    } else if (kind == u"TBIBeamDialog") {
        static_cast<kova::gui::TBIBeamDialog&>(dialog).BuildNormal->trigger();
    }
    const int result = Press(dialog, "Button1");
    if (result != QDialog::Accepted) {
        qWarning("%s refused: %s", qPrintable(kind),
                 qPrintable(dialog.findChild<QLabel*>(QStringLiteral("ReasonLine"))->text()));
    }
    return result;
}

/// A treatment of the demo dual-energy linac under `patient`: `energy` of that kind.
Row AddTreatmentOf(MainWindow& window, const QModelIndex& patient, const QString& energy,
                   const QString& kind) {
    window.WorkbenchTreeView->setCurrentIndex(patient);
    DialogAnswer answer([&](QDialog& dialog) {
        auto& treatment = dynamic_cast<TreatmentDialog&>(dialog);
        treatment.LINAC->setCurrentIndex(treatment.LINAC->findText(QStringLiteral("DualDemo")));
        QComboBox* energies = kind == u"Electron Beam" ? treatment.eEnergy : treatment.gEnergy;
        energies->setCurrentIndex(energies->findText(energy));
        for (QRadioButton* button : treatment.BeamKind->findChildren<QRadioButton*>()) {
            if (button->text() == kind) {
                button->click();
            }
        }
        return Press(dialog, "OK");
    });
    window.NewTreatmentClick();
    const Row treatment = LastChild(patient);
    Rename(window.WorkbenchTreeView, treatment, kind);
    window.WorkbenchTreeView->setCurrentIndex(treatment);
    DialogAnswer beam(FillBeam);
    window.NewBeamClick();
    return treatment;
}

/// Every node's text, indented by level: what the workbench shows.
QString TreeText(const WorkbenchTree* tree) {
    QStringList lines;
    for (const QModelIndex& row : AllRows(tree)) {
        lines << QString(Level(row) * 2, u' ') + Text(row);
    }
    return lines.join(u'\n');
}

std::vector<double> AllMu(const kova::Workbench& workbench) {
    std::vector<double> mu;
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            for (const auto& beam : treatment->beams) {
                mu.push_back(beam->TotalMU());
            }
        }
    }
    return mu;
}

QStringList EnabledItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            items << action->text();
        }
    }
    return items;
}

QMenu* MenuNamed(const MainWindow& window, const char* name) {
    return window.menuBar()->findChild<QMenu*>(QString::fromLatin1(name));
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_files;

    /// A demo window with a patient, a photon treatment and its beam "AP"; the treatment.
    Row PatientWithPhotonBeam(MainWindow& window) {
        window.ScanLinacs();
        window.NewPatientClick();
        const Row patient = window.WorkbenchTreeView->currentIndex();
        return AddTreatmentOf(window, patient, QStringLiteral("6MV"),
                              QStringLiteral("Photon Beam"));
    }

private slots:
    void init() {
        Dialogs::ClearShownMessages();
        Dialogs::SetMessageAnswer(QMessageBox::Cancel);
    }
    void cleanup() {
        Dialogs::SetExecHook({});
        Dialogs::SetSaveFileAnswer(std::nullopt);
        Dialogs::SetOpenFileAnswer(std::nullopt);
    }

    void titlesAreExactlyTheOnesGiven() {
        const QString testName = QCoreApplication::applicationName();
        kova::gui::Application::SetIdentity();
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("KOVA X"));
        // No display name of its own: the toolkit appends one to every title when it is set.
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        QCoreApplication::setApplicationName(testName);
        QCoreApplication::setOrganizationName(QStringLiteral("KOVA X tests"));
        MainWindow window(kInfo, Demo());
        QCOMPARE(window.windowTitle(), QStringLiteral("KOVA X 0.1.0 - Workbench[*]"));
    }

    /// Done as a new user would: a patient with three treatments of three kinds, saved,
    /// closed, opened in a new window: every beam with the same MU and the same lines.
    void threeTreatmentsComeBackAfterSaveCloseAndOpen() {
        const QString path = Folder(m_files) + u"/Rossi Mario.ini";
        QString shown;
        std::vector<double> mu;
        {
            MainWindow window(kInfo, Demo());
            window.ScanLinacs();
            window.NewPatientClick();
            const Row patient = window.WorkbenchTreeView->currentIndex();
            Rename(window.WorkbenchTreeView, patient, QStringLiteral("Rossi Mario"));
            AddTreatmentOf(window, patient, QStringLiteral("6MV"), QStringLiteral("Photon Beam"));
            AddTreatmentOf(window, patient, QStringLiteral("9MeV"),
                           QStringLiteral("Electron Beam"));
            AddTreatmentOf(window, patient, QStringLiteral("18MV"),
                           QStringLiteral("Total Body Irradiation"));
            mu = AllMu(window.workbench());
            QCOMPARE(mu.size(), std::size_t{3});
            QVERIFY(window.document().modified());
            // The save dialog suggests the patient's name.
            QString suggested;
            Dialogs::SetSaveFileHook([&](const QString& offered) {
                suggested = offered;
                return path;
            });
            window.SaveClick();
            Dialogs::SetSaveFileHook({});
            QVERIFY(suggested.endsWith(u"/Rossi Mario.ini"));
            QVERIFY(!window.document().modified());
            QCOMPARE(window.document().filePath(), path);
            shown = TreeText(window.WorkbenchTreeView);
            // Saved: closing asks nothing.
            QVERIFY(window.close());
            QVERIFY(Dialogs::ShownMessages().isEmpty());
        }
        const std::string text = Bytes(path.toStdString());
        QVERIFY(text.find("Patient = Rossi Mario\n") != std::string::npos);
        QVERIFY(text.find("TrayComp = Tray plan 7 : 0.962\n") != std::string::npos);

        MainWindow again(kInfo, Demo());
        again.ScanLinacs();
        Dialogs::SetOpenFileAnswer(path);
        again.OpenClick();
        QVERIFY(Dialogs::ShownMessages().isEmpty());
        QCOMPARE(AllMu(again.workbench()), mu);
        QCOMPARE(TreeText(again.WorkbenchTreeView), shown);
        QVERIFY(!again.document().modified());
        QCOMPARE(again.document().filePath(), path);
    }

    void unsavedWorkIsNeverLostUnasked() {
        {
            // A workbench without beams has nothing a file keeps: no empty file is written.
            MainWindow empty(kInfo, Demo());
            empty.NewPatientClick();
            Dialogs::SetSaveFileAnswer(Folder(m_files) + u"/empty.ini");
            empty.SaveClick();
            QVERIFY(Dialogs::ShownMessages().last().startsWith(
                QStringLiteral("There is nothing to save")));
            QVERIFY(!QFileInfo::exists(Folder(m_files) + u"/empty.ini"));
            Dialogs::ClearShownMessages();
        }
        MainWindow window(kInfo, Demo());
        window.show();
        const Row patient = PatientWithPhotonBeam(window).parent();
        QVERIFY(window.isWindowModified());
        // Cancel keeps the window and the work.
        QVERIFY(!window.close());
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY(Dialogs::ShownMessages()[0].contains(QStringLiteral("not saved")));
        // Opening another file asks the same; Cancel reads nothing.
        Dialogs::SetOpenFileAnswer(QStringLiteral("/nonexistent/other.ini"));
        window.OpenClick();
        QCOMPARE(Dialogs::ShownMessages().size(), 2);
        QCOMPARE(window.workbench().patients().size(), std::size_t{1});
        // Save with the save dialog cancelled keeps the window open too.
        Dialogs::SetMessageAnswer(QMessageBox::Save);
        Dialogs::SetSaveFileAnswer(QString());
        QVERIFY(!window.close());
        // A failed save says why and the work stays unsaved.
        Dialogs::SetSaveFileAnswer(QStringLiteral("/nonexistent/folder/work.ini"));
        QVERIFY(!window.close());
        QVERIFY(Dialogs::ShownMessages().last().startsWith(
            QStringLiteral("The workbench was not saved")));
        QVERIFY(window.document().modified());
        // A patient without beams cannot be kept in the file: the save says so first.
        window.WorkbenchTreeView->setCurrentIndex({});
        window.NewPatientClick();
        Dialogs::ClearShownMessages();
        Dialogs::SetSaveFileAnswer(Folder(m_files) + u"/kept.ini");
        window.SaveClick();
        QVERIFY(
            Dialogs::ShownMessages().last().contains(QStringLiteral("- patient 'New Patient'")));
        QVERIFY(window.document().modified());
        // Saved, the title names the file without the mark; a change marks it, and Undo back
        // to the saved state clears the mark again.
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        window.SaveClick();
        QCOMPARE(window.windowTitle(), QStringLiteral("KOVA X 0.1.0 - kept.ini[*]"));
        QVERIFY(!window.isWindowModified() && !window.document().modified());
        Rename(window.WorkbenchTreeView, patient, QStringLiteral("Rossi"));
        QVERIFY(window.isWindowModified());
        window.undoAction()->trigger();
        QCOMPARE(Text(patient), QStringLiteral("New Patient"));
        QVERIFY(!window.isWindowModified() && !window.document().modified());
        window.redoAction()->trigger();
        QVERIFY(window.isWindowModified());
        Dialogs::SetMessageAnswer(QMessageBox::Cancel);
        QVERIFY(!window.close());
        // Discard lets it go.
        Dialogs::SetMessageAnswer(QMessageBox::Discard);
        QVERIFY(window.close());
    }

    void beamsRefusedOnOpenAreListedOnce() {
        const std::string path = m_files.Path().string() + "/refused.ini";
        kova::test::WriteBytesFile(m_files.Path(), "refused.ini",
                                   "[gone]\nLinac = Sala9\nEnergy = 6MV\nBeamDose = 100\n"
                                   "BeamWidth = 10\nBeamHeight = 10\n"
                                   "[kept]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 100\n"
                                   "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n");
        MainWindow window(kInfo, Demo());
        window.ScanLinacs();
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        Dialogs::SetOpenFileAnswer(QString::fromStdString(path));
        window.OpenClick();
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY(Dialogs::ShownMessages()[0].contains(
            QStringLiteral("[gone] refused.ini:2: no linac of the linac folder has this Name")));
        QCOMPARE(Roots(window.WorkbenchTreeView), QStringList({QStringLiteral("New Patient")}));
        // Saving must not drop the refused beam from that file unasked: Save asks for a file.
        QVERIFY(window.document().filePath().isEmpty());
    }

    void menuBarOffersWhatThePopupMenusOffer() {
        MainWindow window(kInfo, Demo());
        QStringList titles;
        for (const QAction* menu : window.menuBar()->actions()) {
            titles << menu->text();
        }
        QCOMPARE(titles, QStringList({QStringLiteral("&File"), QStringLiteral("&Edit"),
                                      QStringLiteral("Linacs"), QStringLiteral("&Help")}));
        QMenu* file = MenuNamed(window, "FileMenu");
        QMenu* edit = MenuNamed(window, "EditMenu");
        QCOMPARE(EnabledItems(file),
                 QStringList({QStringLiteral("New Patient"), QStringLiteral("Import RT Plan..."),
                              QStringLiteral("Open..."), QStringLiteral("Save"),
                              QStringLiteral("Save As..."), QStringLiteral("Print..."),
                              QStringLiteral("Quit")}));
        QCOMPARE(EnabledItems(edit), QStringList());
        QCOMPARE(window.action(Command::NewPatient)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(window.action(Command::Print)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(window.action(Command::Copy)->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(window.undoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(window.redoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));

        const Row treatment = PatientWithPhotonBeam(window);
        const Row beam = Child(treatment, 6);
        // Undo and Redo follow the history, not the selection: with none, the items below
        // are the selection's alone.
        window.workbenchModel()->undoStack()->clear();
        const struct {
            QModelIndex node;
            QStringList edit;
            bool newPatient;
        } cases[] = {
            {treatment.parent(), {QStringLiteral("Rename"), QStringLiteral("Delete")}, true},
            {treatment,
             {QStringLiteral("Rename"), QStringLiteral("Delete"), QStringLiteral("Copy")},
             false},
            {beam,
             {QStringLiteral("Edit..."), QStringLiteral("Rename"), QStringLiteral("Delete"),
              QStringLiteral("Copy")},
             false},
            // The "SAD = " line has no pop-up menu, so nothing acts on it.
            {Child(treatment, 4), {}, false},
            // A result line of the beam neither.
            {Child(beam, 0), {}, false},
        };
        for (const auto& c : cases) {
            window.WorkbenchTreeView->setCurrentIndex(c.node);
            QCOMPARE(EnabledItems(edit), c.edit);
            QCOMPARE(window.action(Command::NewPatient)->isEnabled(), c.newPatient);
            // A plan is imported into a new patient or the selected one: where a patient
            // may be made.
            QCOMPARE(window.action(Command::ImportPlan)->isEnabled(), c.newPatient);
            // Every item of the pop-up menu is enabled on the menu bar too.
            if (window.currentPopupMenu() != nullptr) {
                for (const QAction* item : window.currentPopupMenu()->actions()) {
                    QVERIFY(item->isSeparator() || item->isEnabled());
                }
            }
        }
    }

    void treeKeysAndMouseActLikeAQtTree() {
        MainWindow window(kInfo, Demo());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const Row treatment = PatientWithPhotonBeam(window);
        WorkbenchTree* tree = window.WorkbenchTreeView;
        tree->collapse(Child(treatment, 6));
        const Row beam = Child(treatment, 6);
        const QPoint onBeam = tree->visualRect(beam).center();

        // Double-click and Enter open "Edit..." on a beam.
        tree->setCurrentIndex(beam);
        QStringList opened;
        {
            DialogAnswer answer([&](QDialog& dialog) {
                opened << dialog.objectName();
                return int(QDialog::Rejected);
            });
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, onBeam);
            tree->setFocus();
            QTest::keyClick(tree, Qt::Key_Return);
        }
        QCOMPARE(opened, QStringList({QStringLiteral("PhotonBeamDialog"),
                                      QStringLiteral("PhotonBeamDialog")}));

        // Ctrl+C: the beam's lines as indented text.
        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.startsWith(QStringLiteral("AP\n  ")), qPrintable(copied));
        QVERIFY2(copied.contains(QStringLiteral("\n  MU = ")), qPrintable(copied));

        // F2 renames.
        tree->setCurrentIndex(treatment);
        QTest::keyClick(tree, Qt::Key_F2);
        QVERIFY(tree->IsEditing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

        // Delete on a treatment with beams asks first; Cancel keeps it, OK deletes it.
        tree->setCurrentIndex(treatment);
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY(Dialogs::ShownMessages()[0].contains(QStringLiteral("with its 1 beam?")));
        QCOMPARE(window.workbench().patients()[0]->treatments.size(), std::size_t{1});
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(window.workbench().patients()[0]->treatments.empty());

        // Right-click on a node selects it and shows its menu (the menus take the window's
        // activation, so this comes after the keys).
        const Row patient = Top(tree, 0);
        tree->setCurrentIndex({});
        emit tree->customContextMenuRequested(tree->visualRect(patient).center());
        QCOMPARE(tree->currentIndex(), QModelIndex(patient));
        QCOMPARE(window.currentPopupMenu(), window.PatientPopupMenu);
        window.currentPopupMenu()->hide();
        // Beside every node: nothing selected, the workbench's menu.
        emit tree->customContextMenuRequested(QPoint(5, tree->viewport()->height() - 5));
        QVERIFY(tree->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(window.currentPopupMenu(), window.WorkbenchPopupMenu);
        QVERIFY(!window.action(Command::Delete)->isEnabled());
        window.currentPopupMenu()->hide();
        // A patient without beams goes at once.
        tree->setCurrentIndex(patient);
        Dialogs::ClearShownMessages();
        window.action(Command::Delete)->trigger();
        QVERIFY(Dialogs::ShownMessages().isEmpty());
        QCOMPARE(TopCount(tree), 0);
        Dialogs::SetMessageAnswer(QMessageBox::Discard);
    }

    void theDraggedBeamGoesWhereTheLineShows() {
        MainWindow window(kInfo, Demo());
        window.show();
        const Row treatment = PatientWithPhotonBeam(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FillBeam);
            window.NewBeamClick();
        }
        WorkbenchTree* tree = window.WorkbenchTreeView;
        const Row first = Child(treatment, 6);
        const Row second = Child(treatment, 7);
        Rename(tree, first, QStringLiteral("B1"));
        Rename(tree, second, QStringLiteral("B2"));
        tree->collapse(first);
        tree->collapse(second);
        tree->setCurrentIndex(first);
        const QRect row = tree->visualRect(second);
        const auto upper = tree->DropSpotAt(QPoint(row.center().x(), row.top() + 2));
        const auto lower = tree->DropSpotAt(QPoint(row.center().x(), row.bottom() - 2));
        QVERIFY(upper && lower);
        QCOMPARE(upper->target, QModelIndex(second));
        QCOMPARE(upper->place, kova::DropPlace::Before);
        QCOMPARE(lower->place, kova::DropPlace::After);
        // Not on an information line, nor on a node of another parent.
        QVERIFY(!tree->DropSpotAt(tree->visualRect(Child(treatment, 4)).center()));
        QVERIFY(!tree->DropSpotAt(tree->visualRect(treatment).center()));
        Drop(tree, first, *lower);
        QCOMPARE(Children(treatment).mid(6),
                 QStringList({QStringLiteral("B2"), QStringLiteral("B1")}));
        QCOMPARE(window.workbench().patients()[0]->treatments[0]->beams[0]->name,
                 std::string("B2"));
        QVERIFY(window.document().modified());
        Dialogs::SetMessageAnswer(QMessageBox::Discard);
    }

    void statusBarAndHelpNameTheLinacFiles() {
        kova::test::TempDir folder;
        kova::test::WriteLncFile(folder.Path(), "A.lnc", kova::test::LinacText{}.Text());
        kova::test::WriteBytesFile(folder.Path(), "broken.lnc", "not a linac file");
        MainWindow window(kInfo, Folder(folder));
        window.ScanLinacs();
        QCOMPARE(window.linacCountLabel()->text(), QStringLiteral("1 linac read"));
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        window.LinacFilesClick();
        const QString files = Dialogs::ShownMessages().last();
        QVERIFY2(files.contains(QStringLiteral("\nA.lnc: read")), qPrintable(files));
        QVERIFY2(files.contains(QStringLiteral("\nbroken.lnc: not a linac file: ")),
                 qPrintable(files));
        window.AboutClick();
        const QString about = Dialogs::ShownMessages().last();
        QVERIFY(about.startsWith(QStringLiteral("KOVA X 0.1.0\n")));
        QVERIFY(about.contains(u"Qt " + QString::fromLatin1(qVersion())));
        QVERIFY(about.contains(QDir(Folder(folder)).absolutePath()));
        QVERIFY(about.contains(QStringLiteral("commissioning data")));
    }

    void editedEnergyShowsInItsTreatments() {
        MainWindow window(kInfo, Demo());
        const Row treatment = PatientWithPhotonBeam(window);
        QCOMPARE(Text(Child(treatment, 2)), QStringLiteral("Buildup = 1.5 cm"));
        kova::TLinacSpec* demo = nullptr;
        for (const auto& linac : window.LinacList()) {
            demo = linac->Name == "DualDemo" ? linac.get() : demo;
        }
        QVERIFY(demo != nullptr);
        kova::gui::LinacSpecWindow* linacWindow = window.linacsMenu()->Open(*demo);
        for (int i = 0; i < linacWindow->Energies->topLevelItemCount(); ++i) {
            QTreeWidgetItem* energy = linacWindow->Energies->topLevelItem(i);
            if (energy->text(0).startsWith(QStringLiteral("6MV"))) {
                linacWindow->Energies->setCurrentItem(energy);
            }
        }
        DialogAnswer answer([](QDialog& dialog) {
            Type(dialog, "Buildup", QStringLiteral("1.6"));
            return Press(dialog, "ok");
        });
        linacWindow->cDisplayClick();
        QCOMPARE(Text(Child(treatment, 2)), QStringLiteral("Buildup = 1.6 cm"));
        Dialogs::SetMessageAnswer(QMessageBox::Discard);
    }

    void windowRemembersItsSizeAndPlace() {
        // First start: tall enough for a beam's whole result, never larger than the screen.
        QCOMPARE(kova::gui::FirstStartSize(QRect(0, 0, 1920, 1080)), QSize(640, 880));
        QCOMPARE(kova::gui::FirstStartSize(QRect(0, 0, 1024, 768)), QSize(640, 691));
        QSettings settings(Folder(m_files) + u"/settings.ini", QSettings::IniFormat);
        {
            MainWindow window(kInfo, Demo());
            window.RememberGeometryIn(&settings);
            QCOMPARE(window.size(),
                     kova::gui::FirstStartSize(window.screen()->availableGeometry()));
            window.show();
            window.resize(500, 420);
            QVERIFY(window.close());
        }
        MainWindow window(kInfo, Demo());
        window.RememberGeometryIn(&settings);
        QCOMPARE(window.size(), QSize(500, 420));
    }

    void firstStartSizeShowsAWholeBeamResult() {
        MainWindow window(kInfo, Demo());
        window.resize(kova::gui::FirstStartSize(QRect(0, 0, 1920, 1080)));
        window.show();
        // The photon beam with the most lines: wedge, tray made on the spot, both expanded.
        const Row treatment = PatientWithPhotonBeam(window);
        window.WorkbenchTreeView->expandAll();
        const QModelIndexList items = AllRows(window.WorkbenchTreeView);
        QModelIndex last = Child(treatment, 6);
        while (ChildCount(last) > 0) {
            last = LastChild(last);
        }
        QVERIFY(items.size() > 30);
        const int bottom = window.WorkbenchTreeView->visualRect(last).bottom();
        QVERIFY2(bottom < window.WorkbenchTreeView->viewport()->height(),
                 qPrintable(QString::number(bottom)));
        // The status bar's notes fit that width whole, the longest ones included: a long
        // folder with the reason it is read, and the note of the default action levels.
        window.SetLinacFolderReason(QStringLiteral("a folder chosen long ago"),
                                    QStringLiteral("chosen folder"));
        window.LoadActionLevels(QStringLiteral("/nonexistent/folder/of/the/program"));
        QTest::qWait(50);
        QCOMPARE(window.width(), 640);
        for (const QLabel* note :
             {window.linacFolderLabel(), window.linacCountLabel(), window.actionLevelsNote()}) {
            QVERIFY(note->isVisible());
            QVERIFY2(note->width() >= note->sizeHint().width(), qPrintable(note->text()));
        }
        Dialogs::SetMessageAnswer(QMessageBox::Discard);
    }
};

KOVA_GUI_TEST(DesktopTest)
#include "desktop_test.moc"
