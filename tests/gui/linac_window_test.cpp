// The linac window reached from the main window's "Linacs" menu, driven through its real
// widgets: browsing and editing the tables, the energy windows and entry editors, removals
// that the workbench forbids, and "Save As...". Modal windows are answered through Dialogs.

#include "core/beams/beam.h"
#include "core/linac/linac_spec.h"
#include "gui/gui_test.h"
#include "gui/linacs_menu.h"
#include "gui/record_form.h"
#include "gui/window_flows.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"
#include "support/near.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

using kova::gui::Dialogs;
using kova::gui::LinacSpecWindow;
using kova::gui::MainWindow;
using kova::gui::RecordForm;
using namespace kova::guitest;

class LinacWindowTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_linacs;
    kova::ProgramInfo m_info{"KOVA X", "1.2.3"};

    /// The window of the test linac, opened from the menu of `main`.
    LinacSpecWindow& OpenTestLinac(MainWindow& main) {
        main.ScanLinacs();
        main.linacsMenu()->menu()->actions().value(0)->trigger();
        return *main.linacsMenu()->WindowOf(*main.LinacList().at(0));
    }

private slots:
    void initTestCase() {
        // The test linac (LinacText defaults) with a euro sign in its name.
        kova::test::LinacText text;
        text.Name = "Sala\xE7\x80";
        kova::test::WriteLncFile(m_linacs.Path(), "sala.lnc", text.Text());
    }
    void init() {
        // A warning is a fault; the offscreen platform's notes about window sizes and
        // raising are not.
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support)")));
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        Dialogs::ClearShownMessages();
    }
    void cleanup() {
        Dialogs::SetExecHook({});
        Dialogs::SetSaveFileAnswer(std::nullopt);
    }

    void demoLinacFromTheMenu();
    void addFollowsTheSelectedNode();
    void editorsStoreNothingUntilEveryBoxConverts();
    void removeNeverLeavesADanglingReference();
    void saveAsWritesOnlyNewFilesOutsideTheLinacsFolder();
};

void LinacWindowTest::demoLinacFromTheMenu() {
    MainWindow main(m_info, QStringLiteral(KOVA_DEMO_LINACS_DIR));
    main.ScanLinacs();
    QVERIFY(main.menuBar()->actions().contains(main.linacsMenu()->menu()->menuAction()));
    QCOMPARE(main.linacsMenu()->menu()->title(), QStringLiteral("Linacs"));
    QStringList items;
    for (const QAction* action : main.linacsMenu()->menu()->actions()) {
        items << action->text();
    }
    QCOMPARE(items, QStringList({QStringLiteral("CobaltDemo (demo_cobalt.lnc)"),
                                 QStringLiteral("DualDemo (demo_dual_energy.lnc)")}));
    kova::TLinacSpec& linac = *main.LinacList()[1];
    QAction* open = main.linacsMenu()->menu()->actions()[1];
    open->trigger();
    LinacSpecWindow* window = main.linacsMenu()->WindowOf(linac);
    QVERIFY(window != nullptr && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Linac: DualDemo"));
    QCOMPARE(window->Name->text(), QStringLiteral("DualDemo"));
    // The identity boxes show their whole texts ("DualEnergy-18" among them).
    for (const QLineEdit* box :
         {window->Name, window->Brand, window->Model, window->SerialNumber}) {
        QVERIFY2(box->contentsRect().width() >= box->fontMetrics().horizontalAdvance(box->text()),
                 qPrintable(box->text()));
    }
    QCOMPARE(window->SerialNumber->text(), QStringLiteral("DEMO-0001"));
    QCOMPARE(window->SAD->text(), QStringLiteral("100"));
    QVERIFY(window->Name->isReadOnly() && window->isAsymmetricFieldsOnHeight->isChecked());
    // A second choice raises the same window; closing hides it and the linac lives on.
    open->trigger();
    QCOMPARE(main.findChildren<LinacSpecWindow*>().size(), 1);
    window->close();
    QVERIFY(!window->isVisible());
    QCOMPARE(main.LinacList().size(), std::size_t{2});
    open->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(main.linacsMenu()->WindowOf(linac), window);

    // Browse every table: each energy and entry opens its window showing all its fields;
    // each group (levels 1 and 3) opens.
    QStringList captions;
    QStringList buttons;
    int editors = 0;
    {
        DialogAnswer answer([&](QDialog& dialog) {
            auto& form = dynamic_cast<RecordForm&>(dialog);
            editors += form.Texts() == form.record().EditorTexts() ? 1 : 0;
            captions << dialog.windowTitle();
            for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
                buttons << button->text();
            }
            return Press(dialog, "cancel");
        });
        int records = 0;
        int closedGroups = 0;
        for (QTreeWidgetItem* item : AllItems(window->Energies)) {
            window->Energies->setCurrentItem(item);
            window->cDisplayClick();
            const int level = Level(item);
            records += level % 2 == 0 ? 1 : 0;
            closedGroups += level % 2 == 1 && !item->isExpanded() ? 1 : 0;
        }
        QCOMPARE(editors, records);
        QCOMPARE(captions.size(), records);
        QCOMPARE(closedGroups, 0);
    }
    captions.removeDuplicates();
    captions.sort();
    // An energy's window is titled with its name.
    QCOMPARE(captions,
             QStringList({QStringLiteral("ApplicatorForm"), QStringLiteral("Energy: 12MeV"),
                          QStringLiteral("Energy: 16MeV"), QStringLiteral("Energy: 18MV"),
                          QStringLiteral("Energy: 20MeV"), QStringLiteral("Energy: 6MV"),
                          QStringLiteral("Energy: 6MeV"), QStringLiteral("Energy: 9MeV"),
                          QStringLiteral("Multileaf Factor Value"),
                          QStringLiteral("Offset Factor Value"), QStringLiteral("PDD Value"),
                          QStringLiteral("Reference Field"), QStringLiteral("Shield"),
                          QStringLiteral("Tray"), QStringLiteral("Wedge"),
                          QStringLiteral("Wedge Factor Value")}));
    buttons.removeDuplicates();
    buttons.sort();
    QCOMPARE(buttons, QStringList({QStringLiteral("Cancel"), QStringLiteral("OK")}));

    // A beam with W30 at 10 x 10 (equivalent square 10, a table row: WF 0.565). Its MU came
    // from that factor: the factor cannot change under it, and the beam keeps its MU. Once
    // the beam is deleted the factor is edited to 0.5, and a second, identical beam needs
    // the first one's MU times 0.565 / 0.5.
    const Row treatment = AddTreatment(main, QStringLiteral("DualDemo"));
    const double before = NewBeamMu(main, treatment, "W30");
    QVERIFY(before > 0);
    const QStringList factor = {QStringLiteral("6MV (6 MV)"), QStringLiteral("Wedges"),
                                QStringLiteral("W30 (Static)"), QStringLiteral("Wedge Factors"),
                                QStringLiteral("10 cm")};
    Select(*window, factor);
    const auto editFactor = [&window] {
        DialogAnswer answer([](QDialog& dialog) {
            if (Edit(dialog, "WF")->text() != QStringLiteral("0.565")) {
                return int(QDialog::Rejected);
            }
            Type(dialog, "WF", QStringLiteral("0.5"));
            const int result = Press(dialog, "ok");
            return result == QDialog::Accepted ? result : Press(dialog, "cancel");
        });
        window->cDisplayClick();
    };
    Dialogs::ClearShownMessages();
    editFactor();
    QCOMPARE(Dialogs::ShownMessages(),
             QStringList(QStringLiteral("\"10 cm\" cannot be changed: it is used by beam \"New "
                                        "Beam\" of treatment \"New Treatment\". Delete or change "
                                        "those first.")));
    QCOMPARE(linac.gEnergies[0]->Wedges[1]->WFValues[2]->WF, 0.565);
    QCOMPARE(main.workbench().patients()[0]->treatments[0]->beams[0]->MU, before);
    QVERIFY(main.workbenchModel()->Delete(Child(treatment, 6)));
    editFactor();
    QCOMPARE(linac.gEnergies[0]->Wedges[1]->WFValues[2]->WF, 0.5);
    const double after = NewBeamMu(main, treatment, "W30");
    QVERIFY(kova::test::IsNear(after, before * 0.565 / 0.5));

    // The energy's own data change under the beam, which is computed again: 2 cGy per MU
    // instead of 1 halves its MU; a smallest width of 12 cm refuses its 10 cm field, and its
    // row says it has no MU; 1 cm and 1 cGy per MU again give the MU of the start.
    const kova::TBeam& beam = *main.workbench().patients()[0]->treatments[0]->beams[0];
    const auto editEnergy = [&window](const char* control, const char* text) {
        Select(*window, {QStringLiteral("6MV (6 MV)")});
        DialogAnswer answer([control, text](QDialog& dialog) {
            Type(dialog, control, QString::fromLatin1(text));
            return Press(dialog, "ok");
        });
        window->cDisplayClick();
    };
    editEnergy("cGyUMRatio", "2");
    QVERIFY(beam.calculated && kova::test::IsNear(beam.MU, after / 2));
    Dialogs::ClearShownMessages();
    editEnergy("MinWidth", "12");
    QVERIFY(!beam.calculated);
    QCOMPARE(Dialogs::ShownMessages().size(), 1);
    QVERIFY(Children(Child(treatment, 6)).join(u'\n').contains(u"No MU on the changed linac data"));
    editEnergy("MinWidth", "1");
    editEnergy("cGyUMRatio", "1");
    QVERIFY(beam.calculated && kova::test::IsNear(beam.MU, after));

    // Save As: a new file that `lnc dump` reads back as the edited linac.
    kova::test::TempDir target;
    const QString path = Folder(target) + QStringLiteral("/edited");
    Dialogs::SetSaveFileAnswer(path);
    window->cSaveAsClick();
    QCOMPARE(window->SaveLine->text(), QStringLiteral("Saved to ") + path + u".lnc");
    QProcess dump;
    dump.start(QStringLiteral(KOVA_LNC_PROGRAM), {QStringLiteral("dump"), path + u".lnc"});
    QVERIFY(dump.waitForFinished(30000));
    QCOMPARE(dump.exitCode(), 0);
    const QByteArray text = dump.readAllStandardOutput();
    QCOMPARE(text.toStdString(), Written(linac));
    QVERIFY(text.contains("10\t1.02\t0.5\n"));
}

void LinacWindowTest::addFollowsTheSelectedNode() {
    MainWindow main(m_info, Folder(m_linacs));
    LinacSpecWindow& window = OpenTestLinac(main);
    const kova::TLinacSpec& linac = window.linac();
    // The byte 0x80 is the euro sign in Windows-1252 (a control character in Latin-1).
    QCOMPARE(main.linacsMenu()->menu()->actions()[0]->text(),
             QString::fromUtf8("Sala \u20AC (sala.lnc)"));
    QCOMPARE(window.Name->text(), QString::fromUtf8("Sala \u20AC"));
    int shown = 0;
    {
        // Photon and electron commands do nothing on the other kind's nodes.
        DialogAnswer answer([&](QDialog&) { return ++shown, int(QDialog::Rejected); });
        Select(window, {QStringLiteral("E9 (9 MeV)"), QStringLiteral("Applicators"),
                        QStringLiteral("A10")});
        window.cAddgammaClick();
        Select(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Wedges"),
                        QStringLiteral("W60 (Static)")});
        window.cAddeminusClick();
        QCOMPARE(shown, 0);
        // A cancelled new entry is not added.
        Select(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Trays")});
        window.cAddgammaClick();
        QCOMPARE(shown, 1);
        QCOMPARE(linac.gEnergies[0]->Trays.size(), std::size_t{1});
    }
    // "Add gamma" on "PDD" adds a depth dose to that field; its editor starts empty.
    const QStringList pdd = {QStringLiteral("X6 (6 MV)"), QStringLiteral("Reference Fields"),
                             QStringLiteral("10 cm x 10 cm"), QStringLiteral("PDD")};
    Select(window, pdd);
    {
        DialogAnswer answer([](QDialog& dialog) {
            // The depth dose is labelled as the fraction it is.
            const auto* form = dialog.findChild<QFormLayout*>();
            const auto* label = qobject_cast<QLabel*>(
                form != nullptr ? form->labelForField(Edit(dialog, "PercentDose")) : nullptr);
            if (dialog.windowTitle() != QStringLiteral("PDD Value") ||
                dialog.focusWidget() != Edit(dialog, "Depth") ||
                !Edit(dialog, "Depth")->text().isEmpty() || label == nullptr ||
                label->text() != QStringLiteral("Dose fraction (1 at build-up)")) {
                return int(QDialog::Rejected);
            }
            Type(dialog, "Depth", QStringLiteral("20"));
            Type(dialog, "PercentDose", QStringLiteral("0.4"));
            return Press(dialog, "ok");
        });
        window.cAddgammaClick();
    }
    QCOMPARE(Children(Item(window, pdd)),
             QStringList({QStringLiteral("1.5 cm = 1"), QStringLiteral("10 cm = 0.67"),
                          QStringLiteral("20 cm = 0.4")}));
    QVERIFY(Item(window, pdd)->isExpanded());
    // Nothing selected: a new photon energy, whose window shows the defaults as text, so OK
    // needs only the name and energy. Without multileaf support it has no multileaf group.
    window.Energies->setCurrentItem(nullptr);
    {
        DialogAnswer answer([](QDialog& dialog) {
            const bool defaults =
                Edit(dialog, "Name")->text() == QStringLiteral("n/a") &&
                Edit(dialog, "cGyUMRatio")->text() == QStringLiteral("0") &&
                dialog.findChild<QCheckBox*>(QStringLiteral("TBISupported"))->isChecked() &&
                dialog.findChild<QRadioButton*>()->isChecked(); // "Offset alla Varian"
            if (dialog.windowTitle() != QStringLiteral("New photon energy") || !defaults) {
                return int(QDialog::Rejected);
            }
            Type(dialog, "Name", QStringLiteral("X10"));
            Type(dialog, "NominalEnergy", QStringLiteral("10"));
            return Press(dialog, "ok");
        });
        window.cAddgammaClick();
    }
    QCOMPARE(Roots(window.Energies),
             QStringList({QStringLiteral("X6 (6 MV)"), QStringLiteral("X10 (10 MV)"),
                          QStringLiteral("E9 (9 MeV)")}));
    QTreeWidgetItem* added = Item(window, {QStringLiteral("X10 (10 MV)")});
    QVERIFY(added->isExpanded());
    QCOMPARE(Children(added),
             QStringList({QStringLiteral("Reference Fields"), QStringLiteral("Wedges"),
                          QStringLiteral("Trays"), QStringLiteral("Offset Factors"),
                          QStringLiteral("Shields")}));
    QCOMPARE(Children(Item(window, {QStringLiteral("X6 (6 MV)")})).size(), 6);
    // A tray renamed in its editor shows its new name at once.
    Select(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Trays"), QStringLiteral("Tray")});
    {
        DialogAnswer answer([](QDialog& dialog) {
            Type(dialog, "Name", QString::fromUtf8("Vassoio \u20AC"));
            return Press(dialog, "ok");
        });
        window.cDisplayClick();
    }
    QCOMPARE(linac.gEnergies[0]->Trays[0]->Name, std::string("Vassoio \x80"));
    QCOMPARE(window.Energies->currentItem()->text(0), QString::fromUtf8("Vassoio \u20AC"));
}

void LinacWindowTest::editorsStoreNothingUntilEveryBoxConverts() {
    MainWindow main(m_info, Folder(m_linacs));
    LinacSpecWindow& window = OpenTestLinac(main);
    const kova::TgEnergy& x6 = *window.linac().gEnergies[0];
    // A new tray with an empty factor: the conversion message, the window stays open with
    // the focus on the box, and Cancel then adds nothing.
    Select(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Trays")});
    bool stayedOpen = false;
    QString focus;
    {
        DialogAnswer answer([&](QDialog& dialog) {
            Type(dialog, "Name", QStringLiteral("T2"));
            stayedOpen = Press(dialog, "ok") != QDialog::Accepted;
            focus = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            return Press(dialog, "cancel");
        });
        window.cAddgammaClick();
    }
    QVERIFY(stayedOpen);
    QCOMPARE(focus, QStringLiteral("TF"));
    QCOMPARE(Dialogs::ShownMessages(), QStringList(QStringLiteral("Tray Factor is empty")));
    QCOMPARE(x6.Trays.size(), std::size_t{1});
    QCOMPARE(Children(Item(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Trays")})),
             QStringList(QStringLiteral("Tray")));
    // A new reference field without phantom scatter data: the factor's box is disabled and
    // may stay empty; checking the box enables it.
    Select(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Reference Fields")});
    bool enabling = false;
    {
        DialogAnswer answer([&](QDialog& dialog) {
            auto* available =
                dialog.findChild<QCheckBox*>(QStringLiteral("isScatterPhantomFactorAvailable"));
            QLineEdit* scatter = Edit(dialog, "ScatterPhantomFactor");
            const bool disabled = !scatter->isEnabled();
            available->click();
            enabling = disabled && scatter->isEnabled();
            available->click();
            Type(dialog, "Width", QStringLiteral("20"));
            Type(dialog, "Height", QStringLiteral("20"));
            Type(dialog, "FieldFactor", QStringLiteral("1.05"));
            return Press(dialog, "ok");
        });
        window.cAddgammaClick();
    }
    QVERIFY(enabling);
    QCOMPARE(x6.RefFields.size(), std::size_t{2});
    QCOMPARE(x6.RefFields[1]->FieldFactor, 1.05);
    QCOMPARE(x6.RefFields[1]->ScatterPhantomFactor, 1.0); // the default, kept
    QCOMPARE(
        Children(Item(window, {QStringLiteral("X6 (6 MV)"), QStringLiteral("Reference Fields")})),
        QStringList({QStringLiteral("10 cm x 10 cm"), QStringLiteral("20 cm x 20 cm")}));
}

void LinacWindowTest::removeNeverLeavesADanglingReference() {
    MainWindow main(m_info, Folder(m_linacs));
    LinacSpecWindow& window = OpenTestLinac(main);
    const kova::TLinacSpec& linac = window.linac();
    const Row treatment = AddTreatment(main, QString::fromUtf8("Sala \u20AC"));
    // 200 cGy at 10 cm, 10 x 10 behind W60 (WF 0.3): 200 / (0.67 x 0.3) = 995.02 MU.
    QVERIFY(kova::test::IsNear(NewBeamMu(main, treatment, "W60"), 200 / (0.67 * 0.3)));
    const QString x6 = QStringLiteral("X6 (6 MV)");
    struct Refusal {
        QStringList node;
        QString message;
    };
    const Refusal refusals[] = {
        {{x6, QStringLiteral("Wedges"), QStringLiteral("W60 (Static)")},
         QStringLiteral("\"W60 (Static)\" cannot be removed: it is used by beam \"New Beam\" "
                        "of treatment \"New Treatment\". Delete or change those first.")},
        {{x6},
         QStringLiteral("\"X6 (6 MV)\" cannot be removed: it is used by treatment \"New "
                        "Treatment\" of patient \"New Patient\". Delete or change those first.")},
        // The beam's MU came from its wedge's factors and from the reference fields (the
        // whole table, the exact 10 x 10 field, a depth dose of it).
        {{x6, QStringLiteral("Wedges"), QStringLiteral("W60 (Static)"),
          QStringLiteral("Wedge Factors")},
         QStringLiteral("\"Wedge Factors\" cannot be removed: it is used by beam \"New Beam\" "
                        "of treatment \"New Treatment\". Delete or change those first.")},
        {{x6, QStringLiteral("Reference Fields")},
         QStringLiteral("\"Reference Fields\" cannot be removed: it is used by beam \"New "
                        "Beam\" of treatment \"New Treatment\". Delete or change those first.")},
        {{x6, QStringLiteral("Reference Fields"), QStringLiteral("10 cm x 10 cm")},
         QStringLiteral("\"10 cm x 10 cm\" cannot be removed: it is used by beam \"New Beam\" "
                        "of treatment \"New Treatment\". Delete or change those first.")},
        {{x6, QStringLiteral("Reference Fields"), QStringLiteral("10 cm x 10 cm"),
          QStringLiteral("PDD"), QStringLiteral("10 cm = 0.67")},
         QStringLiteral("\"10 cm = 0.67\" cannot be removed: it is used by beam \"New Beam\" "
                        "of treatment \"New Treatment\". Delete or change those first.")},
    };
    for (const Refusal& refusal : refusals) {
        Dialogs::ClearShownMessages();
        Select(window, refusal.node);
        window.cRemoveClick();
        QCOMPARE(Dialogs::ShownMessages(), QStringList(refusal.message));
    }
    QCOMPARE(linac.gEnergies.size(), std::size_t{1});
    QCOMPARE(linac.gEnergies[0]->Wedges.size(), std::size_t{1});
    QCOMPARE(linac.gEnergies[0]->Wedges[0]->WFValues.size(), std::size_t{1});
    QCOMPARE(linac.gEnergies[0]->RefFields.size(), std::size_t{1});
    // What nothing uses goes as usual: a group is emptied and stays, an energy goes.
    Dialogs::ClearShownMessages();
    const QStringList trays = {x6, QStringLiteral("Trays")};
    Select(window, trays);
    window.cRemoveClick();
    QCOMPARE(Item(window, trays)->childCount(), 0);
    QVERIFY(linac.gEnergies[0]->Trays.empty());
    Select(window, {QStringLiteral("E9 (9 MeV)")});
    window.cRemoveClick();
    QCOMPARE(Roots(window.Energies), QStringList(x6));
    QVERIFY(Dialogs::ShownMessages().isEmpty());
}

void LinacWindowTest::saveAsWritesOnlyNewFilesOutsideTheLinacsFolder() {
    MainWindow main(m_info, Folder(m_linacs));
    LinacSpecWindow& window = OpenTestLinac(main);
    // Cancelled: nothing written.
    Dialogs::SetSaveFileAnswer(QString());
    window.cSaveAsClick();
    QVERIFY(window.SaveLine->text().isEmpty());
    // Over the linac's own file in the program's folder: refused without asking to replace.
    const std::string own = (m_linacs.Path() / "sala.lnc").string();
    const std::string ownBytes = Bytes(own);
    Dialogs::SetSaveFileAnswer(QString::fromStdString(own));
    window.cSaveAsClick();
    QCOMPARE(Dialogs::ShownMessages().size(), 1);
    QVERIFY(Dialogs::ShownMessages()[0].endsWith(QStringLiteral("choose another folder")));
    QCOMPARE(Bytes(own), ownBytes);
    // Over another existing file only after the confirmation.
    kova::test::TempDir target;
    const std::string existing = kova::test::WriteBytesFile(target.Path(), "x.lnc", "mine");
    Dialogs::SetSaveFileAnswer(QString::fromStdString(existing));
    Dialogs::SetMessageAnswer(QMessageBox::Cancel);
    window.cSaveAsClick();
    QCOMPARE(Bytes(existing), std::string("mine"));
    Dialogs::SetMessageAnswer(QMessageBox::Ok);
    window.cSaveAsClick();
    kova::TLinacSpec reread;
    QVERIFY(reread.LoadFromFile(existing).accepted());
    QCOMPARE(Written(reread), Written(window.linac()));
    QCOMPARE(window.SaveLine->text(),
             QStringLiteral("Saved to ") + QString::fromStdString(existing));
}

KOVA_GUI_TEST(LinacWindowTest)
#include "linac_window_test.moc"
