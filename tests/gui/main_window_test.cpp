// The desktop program's main window driven through its real widgets: the linac scan, the
// workbench tree with its menus, the treatment dialog and a photon beam computed end to end.

#include "core/beams/photon_beam.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/main_window.h"
#include "gui/treatment_dialog.h"
#include "gui/workbench_tree.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <functional>

using kova::gui::Dialogs;
using kova::gui::MainWindow;
using kova::gui::NodeKind;
using kova::gui::TreatmentDialog;
using kova::gui::WorkbenchTree;

namespace {

QString FolderOf(const kova::test::TempDir& dir) {
    return QString::fromStdString(dir.Path().string());
}

/// The captions of a menu's items, separators left out.
QStringList MenuItems(const QMenu* menu) {
    QStringList items;
    if (menu != nullptr) {
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                items << action->text();
            }
        }
    }
    return items;
}

/// The captions of an item's children.
QStringList Children(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts << item->child(i)->text(0);
    }
    return texts;
}

/// Answers every dialog with `answer` until the object goes.
class DialogAnswer {
public:
    explicit DialogAnswer(Dialogs::ExecHook answer) { Dialogs::SetExecHook(std::move(answer)); }
    ~DialogAnswer() { Dialogs::SetExecHook({}); }
};

int ClickOk(QDialog& dialog, const char* okName) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(okName)), Qt::LeftButton);
    return dialog.result();
}

void Type(QDialog& dialog, const char* edit, const char* text) {
    auto* line = dialog.findChild<QLineEdit*>(QString::fromLatin1(edit));
    QVERIFY2(line != nullptr, edit);
    line->setText(QString::fromLatin1(text));
}

/// A fixed-SSD photon beam: dose at `depth` with the field `width` x `height`.
Dialogs::ExecHook FixedSsdBeam(const char* dose, const char* width, const char* height) {
    return [=](QDialog& dialog) {
        for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
            if (button->text().startsWith(QStringLiteral("Not"))) {
                button->click();
            }
        }
        Type(dialog, "BeamDose", dose);
        Type(dialog, "BeamDepth", "10");
        Type(dialog, "BeamSSD", "100");
        Type(dialog, "BeamWidth", width);
        Type(dialog, "BeamHeight", height);
        const int result = ClickOk(dialog, "Button1");
        if (result != QDialog::Accepted) {
            qWarning("beam refused: %s",
                     qPrintable(dialog.findChild<QLabel*>(QStringLiteral("ReasonLine"))->text()));
        }
        return result;
    };
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_linacs;
    kova::ProgramInfo m_info{"KOVA X", "1.2.3"};

    /// A window on a folder with the test linac, scanned, with one patient and a treatment
    /// on the first photon energy; returns the treatment's node.
    QTreeWidgetItem* AddPatientAndTreatment(MainWindow& window) {
        window.ScanLinacs();
        window.NewPatientClick();
        QTreeWidgetItem* patient = window.WorkbenchTreeView->currentItem();
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "OK"); });
        window.NewTreatmentClick();
        return patient->child(patient->childCount() - 1);
    }

private slots:
    void initTestCase() {
        // 10 x 10 field with depth dose 0.67 at 10 cm and field factor 1: at SSD 100 with
        // 1 cGy/MU, 200 cGy need 200 / 0.67 = 298.507... MU.
        kova::test::LinacText linac;
        linac.Name = "Sala1";
        kova::test::WriteLncFile(m_linacs.Path(), "sala1.lnc", linac.Text());
    }

    void captionCarriesProductNameAndVersion() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QCOMPARE(window.windowTitle(), QStringLiteral("KOVA X 1.2.3 - Workbench"));
        // Without version information the version is "?".
        MainWindow unknown(kova::ProgramInfo{}, FolderOf(m_linacs));
        QCOMPARE(unknown.windowTitle(), QStringLiteral("KOVA X ? - Workbench"));
        QCOMPARE(m_info.TitleLine(), std::string("KOVA X v. 1.2.3"));
    }

    void scanReadsInCaseInsensitiveOrderOnce() {
        kova::test::TempDir folder;
        for (const char* name : {"c.LNC", "b.lnc", "A.lnc"}) {
            kova::test::LinacText text;
            text.Name = name;
            kova::test::WriteLncFile(folder.Path(), name, text.Text());
        }
        kova::test::WriteLncFile(folder.Path(), "x.txt", kova::test::LinacText{}.Text());
        kova::test::WriteLncFile(folder.Path(), ".hidden.lnc", kova::test::LinacText{}.Text());
        kova::test::WriteBytesFile(folder.Path(), "broken.lnc", "not a linac file");
        MainWindow window(m_info, FolderOf(folder));
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window, &activate);
        QVERIFY(window.linacsScanned());
        QCOMPARE(window.LinacList().size(), std::size_t{3});
        QCOMPARE(window.LinacList()[0]->Name, std::string("A.lnc"));
        QCOMPARE(window.LinacList()[1]->Name, std::string("b.lnc"));
        QCOMPARE(window.LinacList()[2]->Name, std::string("c.LNC"));
        // The status bar counts the linacs and names the file left out, with its reason.
        const QString status = window.statusBar()->currentMessage();
        QVERIFY2(status.startsWith(QStringLiteral("3 linacs read")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("broken.lnc")), qPrintable(status));
        // A second activation reads nothing again, even a file added since.
        kova::test::WriteLncFile(folder.Path(), "d.lnc", kova::test::LinacText{}.Text());
        QCoreApplication::sendEvent(&window, &activate);
        QCOMPARE(window.LinacList().size(), std::size_t{3});
    }

    void missingFolderIsReportedInTheErrorBox() {
        Dialogs::ClearShownMessages();
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        MainWindow window(m_info, QStringLiteral("/nonexistent/Linacs"));
        window.ScanLinacs();
        QVERIFY(window.LinacList().empty());
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY(Dialogs::ShownMessages()[0].contains(QStringLiteral("/nonexistent/Linacs")));
    }

    void menusFollowTheSelectedLevel() {
        MainWindow window(m_info, FolderOf(m_linacs));
        // Right after start: only "New Patient", "Import RT Plan..." and "Print...".
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("New Patient"), QStringLiteral("Import RT Plan..."),
                              QStringLiteral("Print...")}));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        QTreeWidgetItem* patient = window.WorkbenchTreeView->topLevelItem(0);
        window.WorkbenchTreeView->setCurrentItem(patient);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("New Patient"), QStringLiteral("Delete"),
                              QStringLiteral("New Treatment..."),
                              QStringLiteral("Import RT Plan..."), QStringLiteral("Print...")}));
        window.WorkbenchTreeView->setCurrentItem(treatment);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("Delete"), QStringLiteral("New Beam...")}));
        // The "SAD = " line has no object: no menu at all.
        window.WorkbenchTreeView->setCurrentItem(treatment->child(4));
        QCOMPARE(treatment->child(4)->text(0), QStringLiteral("SAD = 100 cm"));
        QVERIFY(window.currentPopupMenu() == nullptr);
        // Deleting the last patient brings back the first menu.
        window.WorkbenchTreeView->setCurrentItem(patient);
        window.DeletePatientClick();
        QCOMPARE(window.WorkbenchTreeView->topLevelItemCount(), 0);
        QVERIFY(window.currentPopupMenu() == window.WorkbenchPopupMenu);
        QVERIFY(window.workbench().patients().empty());
    }

    void newPatientStartsEditingItsCaption() {
        MainWindow window(m_info, FolderOf(m_linacs));
        window.show();
        window.NewPatientClick();
        QTreeWidgetItem* patient = window.WorkbenchTreeView->topLevelItem(0);
        QCOMPARE(patient->text(0), QStringLiteral("New Patient"));
        QVERIFY(window.WorkbenchTreeView->IsEditing());
        QCOMPARE(WorkbenchTree::KindOf(patient), NodeKind::Patient);
    }

    void cancelledTreatmentLeavesNoNode() {
        MainWindow window(m_info, FolderOf(m_linacs));
        window.ScanLinacs();
        window.NewPatientClick();
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "Cancel"); });
        window.NewTreatmentClick();
        QCOMPARE(window.WorkbenchTreeView->topLevelItem(0)->childCount(), 0);
        QVERIFY(window.workbench().patients()[0]->treatments.empty());
    }

    void treatmentOkIsRefusedWithoutLinac() {
        MainWindow window(m_info, QStringLiteral("/nonexistent"));
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        window.ScanLinacs();
        window.NewPatientClick();
        QString reason;
        QStringList lists;
        bool stayedOpen = false;
        DialogAnswer answer([&](QDialog& dialog) {
            auto& treatment = dynamic_cast<TreatmentDialog&>(dialog);
            lists << treatment.LINAC->currentText() << treatment.gEnergy->currentText();
            stayedOpen = ClickOk(dialog, "OK") != QDialog::Accepted;
            reason = treatment.ReasonLine->text();
            return ClickOk(dialog, "Cancel");
        });
        window.NewTreatmentClick();
        QCOMPARE(lists, QStringList({QStringLiteral("None"), QStringLiteral("None")}));
        QVERIFY(stayedOpen);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(window.WorkbenchTreeView->topLevelItem(0)->childCount(), 0);
    }

    void newTreatmentShowsItsSixInformationLines() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        QCOMPARE(treatment->text(0), QStringLiteral("New Treatment"));
        QCOMPARE(Children(treatment),
                 QStringList({QStringLiteral("Machine = Sala1"), QStringLiteral("Energy = X6"),
                              QStringLiteral("Buildup = 1.5 cm"), QStringLiteral("SCD = 100 cm"),
                              QStringLiteral("SAD = 100 cm"), QStringLiteral("Dose = 0 cGy")}));
        // Information lines cannot be renamed or moved.
        QVERIFY(!(treatment->child(5)->flags() & Qt::ItemIsEditable));
        QVERIFY(treatment->flags() & Qt::ItemIsEditable);
    }

    void photonBeamShowsItsMuAndTheDoseTotal() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentItem(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        QCOMPARE(treatment->childCount(), 7);
        QTreeWidgetItem* beam = treatment->child(6);
        QCOMPARE(WorkbenchTree::KindOf(beam), NodeKind::Beam);
        // No name was typed: the beam keeps the name of its new node.
        QCOMPARE(beam->text(0), QStringLiteral("New Beam"));
        // 200 / 0.67 = 298.507... shown with "#0.##".
        QVERIFY2(Children(beam).contains(QStringLiteral("MU = 298.51")),
                 qPrintable(Children(beam).join(u'|')));
        QCOMPARE(treatment->child(5)->text(0), QStringLiteral("Dose = 200 cGy"));

        // A second beam of 100 cGy, then the first one deleted: 300, then 100 cGy.
        window.WorkbenchTreeView->setCurrentItem(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("100", "10", "10"));
            window.NewBeamClick();
        }
        QCOMPARE(treatment->child(5)->text(0), QStringLiteral("Dose = 300 cGy"));
        window.WorkbenchTreeView->setCurrentItem(beam);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("Delete"), QStringLiteral("Edit...")}));
        window.DeleteBeamClick();
        QCOMPARE(treatment->child(5)->text(0), QStringLiteral("Dose = 100 cGy"));
        QCOMPARE(treatment->childCount(), 7);
    }

    void cancelledBeamLeavesNoNode() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentItem(treatment);
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "Button2"); });
        window.NewBeamClick();
        QCOMPARE(treatment->childCount(), 6);
    }

    void renamingABeamRenamesTheBeam() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentItem(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        QTreeWidgetItem* beam = treatment->child(6);
        beam->setText(0, QStringLiteral("AP"));
        const auto* record = static_cast<kova::TBeam*>(WorkbenchTree::ObjectOf(beam));
        QCOMPARE(record->name, std::string("AP"));
        // Renaming the treatment renames the treatment.
        treatment->setText(0, QStringLiteral("Prostata"));
        QCOMPARE(window.workbench().patients()[0]->treatments[0]->name, std::string("Prostata"));
    }

    void editingABeamKeepsOrChangesItsDose() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentItem(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        QTreeWidgetItem* beam = treatment->child(6);
        window.WorkbenchTreeView->setCurrentItem(beam);
        {
            // The edited dialog shows the stored dose; a new dose of 150 cGy gives
            // 150 / 0.67 = 223.880... MU.
            DialogAnswer answer([](QDialog& dialog) {
                auto* dose = dialog.findChild<QLineEdit*>(QStringLiteral("BeamDose"));
                if (dose->text() != QStringLiteral("200")) {
                    return int(QDialog::Rejected);
                }
                dose->setText(QStringLiteral("150"));
                return ClickOk(dialog, "Button1");
            });
            window.EditBeamClick();
        }
        QVERIFY2(Children(beam).contains(QStringLiteral("MU = 223.88")),
                 qPrintable(Children(beam).join(u'|')));
        QCOMPARE(treatment->child(5)->text(0), QStringLiteral("Dose = 150 cGy"));
    }

    void dropsSwapBeamsButNeverCrossPatients() {
        MainWindow window(m_info, FolderOf(m_linacs));
        QTreeWidgetItem* treatment = AddPatientAndTreatment(window);
        for (const char* dose : {"100", "50"}) {
            window.WorkbenchTreeView->setCurrentItem(treatment);
            DialogAnswer answer(FixedSsdBeam(dose, "10", "10"));
            window.NewBeamClick();
        }
        QTreeWidgetItem* first = treatment->child(6);
        QTreeWidgetItem* second = treatment->child(7);
        first->setText(0, QStringLiteral("B1"));
        second->setText(0, QStringLiteral("B2"));
        first->setExpanded(false);
        QVERIFY(WorkbenchTree::DropAllowed(first, second));
        // An information line neither moves nor takes a drop.
        QVERIFY(!WorkbenchTree::DropAllowed(treatment->child(5), first));
        QVERIFY(!WorkbenchTree::DropAllowed(first, treatment->child(5)));
        window.WorkbenchTreeViewDragDrop(second, first, kova::DropPlace::After);
        QCOMPARE(treatment->child(6)->text(0), QStringLiteral("B2"));
        QCOMPARE(treatment->child(7)->text(0), QStringLiteral("B1"));
        QVERIFY(!treatment->child(7)->isExpanded());
        QVERIFY(treatment->child(6)->isExpanded());
        const auto* model = window.workbench().patients()[0]->treatments[0].get();
        QCOMPARE(model->beams[0]->name, std::string("B2"));

        // A second patient's treatment is not a drop target for the first one's.
        window.WorkbenchTreeView->setCurrentItem(window.WorkbenchTreeView->topLevelItem(0));
        QTreeWidgetItem* other = AddPatientAndTreatment(window);
        QVERIFY(!WorkbenchTree::DropAllowed(treatment, other));
        QVERIFY(!WorkbenchTree::DropAllowed(window.WorkbenchTreeView->topLevelItem(0),
                                            window.WorkbenchTreeView->topLevelItem(1)));
    }

    /// What a new user does first: on the demo linac, a wedged asymmetric beam with a tray and
    /// the offset factor; every factor shows under the beam. With KOVA_SCREENSHOT set, the
    /// window is saved there as a picture.
    void demoBeamWithWedgeTrayAndAsymmetricField() {
        MainWindow window(m_info, QStringLiteral(KOVA_DEMO_LINACS_DIR));
        window.resize(560, 720);
        window.show();
        window.ScanLinacs();
        window.NewPatientClick();
        QTreeWidgetItem* patient = window.WorkbenchTreeView->currentItem();
        patient->setText(0, QStringLiteral("Rossi Mario"));
        {
            DialogAnswer answer([](QDialog& dialog) {
                auto& treatment = dynamic_cast<TreatmentDialog&>(dialog);
                treatment.LINAC->setCurrentIndex(
                    treatment.LINAC->findText(QStringLiteral("KovaDemo-DE")));
                return ClickOk(dialog, "OK");
            });
            window.NewTreatmentClick();
        }
        QTreeWidgetItem* treatment = patient->child(0);
        QCOMPARE(treatment->child(0)->text(0), QStringLiteral("Machine = KovaDemo-DE"));
        treatment->setText(0, QStringLiteral("Mammella sx"));
        window.WorkbenchTreeView->setCurrentItem(treatment);
        {
            DialogAnswer answer([](QDialog& dialog) {
                Type(dialog, "BeamName", "LAT");
                Type(dialog, "BeamDose", "180");
                Type(dialog, "BeamDepth", "7");
                dialog.findChild<QTabWidget*>(QStringLiteral("FieldDim"))->setCurrentIndex(1);
                Type(dialog, "BeamLeft", "3");
                Type(dialog, "BeamRight", "7");
                Type(dialog, "BeamBottom", "6");
                Type(dialog, "BeamTop", "6");
                auto* wedge = dialog.findChild<QComboBox*>(QStringLiteral("WedgeComp"));
                wedge->setCurrentIndex(wedge->findText(QStringLiteral("W30")));
                auto* tray = dialog.findChild<QComboBox*>(QStringLiteral("TrayComp"));
                tray->setCurrentIndex(tray->findText(QStringLiteral("Tray-Block")));
                dialog.findChild<QCheckBox*>(QStringLiteral("isOffset"))->setChecked(true);
                return ClickOk(dialog, "Button1");
            });
            window.NewBeamClick();
        }
        QCOMPARE(treatment->childCount(), 7);
        QTreeWidgetItem* beam = treatment->child(6);
        QCOMPARE(beam->text(0), QStringLiteral("LAT"));
        const QStringList lines = Children(beam);
        QVERIFY2(lines.size() == 7 && lines[5].startsWith(QStringLiteral("MU = ")),
                 qPrintable(lines.join(u'|')));
        // The four jaws of the asymmetric field, then the wedge, tray and offset nodes.
        QCOMPARE(beam->child(0)->childCount(), 4);
        QTreeWidgetItem* details = beam->child(6);
        QCOMPARE(details->text(0), QStringLiteral("Dosimetric details"));
        QStringList modifiers;
        for (int i = 4; i < details->childCount(); ++i) {
            modifiers << details->child(i)->text(0);
        }
        QCOMPARE(modifiers, QStringList({QStringLiteral("W30"), QStringLiteral("Tray-Block"),
                                         QStringLiteral("2 cm")}));
        QCOMPARE(Children(details->child(6)).size(), 1);
        QVERIFY(Children(details->child(6))[0].startsWith(QStringLiteral("Offset Factor = ")));

        const QByteArray screenshot = qgetenv("KOVA_SCREENSHOT");
        if (!screenshot.isEmpty()) {
            window.WorkbenchTreeView->expandAll();
            window.WorkbenchTreeView->setCurrentItem(beam);
            QTest::qWait(200);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshot)));
        }
    }
};

KOVA_GUI_TEST(MainWindowTest)
#include "main_window_test.moc"
