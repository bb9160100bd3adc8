// The desktop program's main window driven through its real widgets: the linac scan, the
// workbench tree with its menus, the treatment dialog and a photon beam computed end to end.

#include "core/beams/photon_beam.h"
#include "core/workbench/workbench_text.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/treatment_dialog.h"
#include "gui/workbench_model.h"
#include "gui/workbench_rows.h"
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
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <functional>

using kova::gui::Dialogs;
using kova::gui::MainWindow;
using kova::gui::NodeKind;
using kova::gui::TreatmentDialog;
using kova::gui::WorkbenchModel;
using namespace kova::guitest;

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

/// The names of the records under `parent` (the workbench when invalid) as the core keeps
/// them, and as the model's rows of patients, treatments or beams show them.
QStringList CoreNames(const MainWindow& window, const QModelIndex& parent) {
    const WorkbenchModel& model = *window.workbenchModel();
    QStringList names;
    if (const kova::TTreatment* treatment = model.TreatmentAt(parent)) {
        for (const auto& beam : treatment->beams) {
            names << QString::fromStdString(beam->name);
        }
    } else if (const kova::Patient* patient = model.PatientAt(parent)) {
        for (const auto& owned : patient->treatments) {
            names << QString::fromStdString(owned->name);
        }
    } else {
        for (const auto& owned : window.workbench().patients()) {
            names << QString::fromStdString(owned->name);
        }
    }
    return names;
}

QStringList RecordRows(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList names;
    for (int i = 0; i < model.rowCount(parent); ++i) {
        const QModelIndex row = model.index(i, 0, parent);
        names << (kova::gui::IsRecord(WorkbenchModel::KindOf(row)) ? Text(row) : QString());
    }
    names.removeAll(QString());
    return names;
}

/// The rows under `parent` as the core's IndentedText writes lines.
QString IndentedRows(const QModelIndex& parent, int level = 0) {
    QString text;
    for (int i = 0; i < ChildCount(parent); ++i) {
        text += QString(2 * level, u' ') + Text(Child(parent, i)) + u'\n';
        text += IndentedRows(Child(parent, i), level + 1);
    }
    return text;
}

/// The whole workbench as the core keeps it (names, information and result lines), then as
/// the rows show it.
QString Snapshot(const MainWindow& window) {
    QString text;
    for (const auto& patient : window.workbench().patients()) {
        text += kova::gui::ToQ(patient->name) + u'\n';
        for (const auto& treatment : patient->treatments) {
            text += kova::gui::ToQ(
                kova::IndentedText({kova::TreatmentNode(*treatment, kova::ActionLevels())}, 1));
        }
    }
    text += QStringLiteral("--\n");
    for (int i = 0; i < TopCount(window.WorkbenchTreeView); ++i) {
        const QModelIndex patient = Top(window.WorkbenchTreeView, i);
        text += Text(patient) + u'\n' + IndentedRows(patient, 1);
    }
    return text;
}

/// The addresses of every patient, treatment and beam, in tree order: the very records.
std::vector<const void*> Records(const MainWindow& window) {
    std::vector<const void*> records;
    for (const auto& patient : window.workbench().patients()) {
        records.push_back(patient.get());
        for (const auto& treatment : patient->treatments) {
            records.push_back(treatment.get());
            for (const auto& beam : treatment->beams) {
                records.push_back(beam.get());
            }
        }
    }
    return records;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_linacs;
    kova::ProgramInfo m_info{"KOVA X", "1.2.3"};

    /// A window on a folder with the test linac, scanned, with one patient and a treatment
    /// on the first photon energy; returns the treatment's node.
    Row AddPatientAndTreatment(MainWindow& window) {
        window.ScanLinacs();
        window.NewPatientClick();
        const Row patient = window.WorkbenchTreeView->currentIndex();
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "OK"); });
        window.NewTreatmentClick();
        return LastChild(patient);
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
        // "[*]": where the mark of unsaved changes shows.
        QCOMPARE(window.windowTitle(), QStringLiteral("KOVA X 1.2.3 - Workbench[*]"));
        // Without version information the version is "?".
        MainWindow unknown(kova::ProgramInfo{}, FolderOf(m_linacs));
        QCOMPARE(unknown.windowTitle(), QStringLiteral("KOVA X ? - Workbench[*]"));
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
        const Row treatment = AddPatientAndTreatment(window);
        const Row patient = Top(window.WorkbenchTreeView, 0);
        window.WorkbenchTreeView->setCurrentIndex(patient);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("New Patient"), QStringLiteral("Delete"),
                              QStringLiteral("New Treatment..."),
                              QStringLiteral("Import RT Plan..."), QStringLiteral("Print...")}));
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("Delete"), QStringLiteral("New Beam...")}));
        // The "SAD = " line has no object: no menu at all.
        window.WorkbenchTreeView->setCurrentIndex(Child(treatment, 4));
        QCOMPARE(Text(Child(treatment, 4)), QStringLiteral("SAD = 100 cm"));
        QVERIFY(window.currentPopupMenu() == nullptr);
        // Deleting the last patient brings back the first menu.
        window.WorkbenchTreeView->setCurrentIndex(patient);
        window.DeletePatientClick();
        QCOMPARE(TopCount(window.WorkbenchTreeView), 0);
        QVERIFY(window.currentPopupMenu() == window.WorkbenchPopupMenu);
        QVERIFY(window.workbench().patients().empty());
    }

    void newPatientStartsEditingItsCaption() {
        MainWindow window(m_info, FolderOf(m_linacs));
        window.show();
        window.NewPatientClick();
        const Row patient = Top(window.WorkbenchTreeView, 0);
        QCOMPARE(Text(patient), QStringLiteral("New Patient"));
        QVERIFY(window.WorkbenchTreeView->IsEditing());
        QCOMPARE(WorkbenchModel::KindOf(patient), NodeKind::Patient);
    }

    void cancelledTreatmentLeavesNoNode() {
        MainWindow window(m_info, FolderOf(m_linacs));
        window.ScanLinacs();
        window.NewPatientClick();
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "Cancel"); });
        window.NewTreatmentClick();
        QCOMPARE(ChildCount(Top(window.WorkbenchTreeView, 0)), 0);
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
        QCOMPARE(ChildCount(Top(window.WorkbenchTreeView, 0)), 0);
    }

    void newTreatmentShowsItsSixInformationLines() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        QCOMPARE(Text(treatment), QStringLiteral("New Treatment"));
        QCOMPARE(Children(treatment),
                 QStringList({QStringLiteral("Machine = Sala1"), QStringLiteral("Energy = X6"),
                              QStringLiteral("Buildup = 1.5 cm"), QStringLiteral("SCD = 100 cm"),
                              QStringLiteral("SAD = 100 cm"), QStringLiteral("Dose = 0 cGy")}));
        // Information lines cannot be renamed or moved.
        QVERIFY(!(Child(treatment, 5).flags() & Qt::ItemIsEditable));
        QVERIFY(treatment.flags() & Qt::ItemIsEditable);
    }

    void photonBeamShowsItsMuAndTheDoseTotal() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        QCOMPARE(ChildCount(treatment), 7);
        const Row beam = Child(treatment, 6);
        QCOMPARE(WorkbenchModel::KindOf(beam), NodeKind::Beam);
        // No name was typed: the beam keeps the name of its new node.
        QCOMPARE(Text(beam), QStringLiteral("New Beam"));
        // 200 / 0.67 = 298.507... shown with "#0.##".
        QVERIFY2(Children(beam).contains(QStringLiteral("MU = 298.51")),
                 qPrintable(Children(beam).join(u'|')));
        QCOMPARE(Text(Child(treatment, 5)), QStringLiteral("Dose = 200 cGy"));

        // A second beam of 100 cGy, then the first one deleted: 300, then 100 cGy.
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("100", "10", "10"));
            window.NewBeamClick();
        }
        QCOMPARE(Text(Child(treatment, 5)), QStringLiteral("Dose = 300 cGy"));
        window.WorkbenchTreeView->setCurrentIndex(beam);
        QCOMPARE(MenuItems(window.currentPopupMenu()),
                 QStringList({QStringLiteral("Delete"), QStringLiteral("Edit...")}));
        window.DeleteBeamClick();
        QCOMPARE(Text(Child(treatment, 5)), QStringLiteral("Dose = 100 cGy"));
        QCOMPARE(ChildCount(treatment), 7);
    }

    void cancelledBeamLeavesNoNode() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "Button2"); });
        window.NewBeamClick();
        QCOMPARE(ChildCount(treatment), 6);
    }

    void renamingABeamRenamesTheBeam() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        const Row beam = Child(treatment, 6);
        Rename(window.WorkbenchTreeView, beam, QStringLiteral("AP"));
        const auto* record = window.workbenchModel()->BeamAt(beam);
        QCOMPARE(record->name, std::string("AP"));
        // Renaming the treatment renames the treatment.
        Rename(window.WorkbenchTreeView, treatment, QStringLiteral("Prostata"));
        QCOMPARE(window.workbench().patients()[0]->treatments[0]->name, std::string("Prostata"));
    }

    void editingABeamKeepsOrChangesItsDose() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        const Row beam = Child(treatment, 6);
        window.WorkbenchTreeView->setCurrentIndex(beam);
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
        QCOMPARE(Text(Child(treatment, 5)), QStringLiteral("Dose = 150 cGy"));
    }

    void dropsSwapBeamsButNeverCrossPatients() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        for (const char* dose : {"100", "50"}) {
            window.WorkbenchTreeView->setCurrentIndex(treatment);
            DialogAnswer answer(FixedSsdBeam(dose, "10", "10"));
            window.NewBeamClick();
        }
        kova::gui::WorkbenchTree* tree = window.WorkbenchTreeView;
        const Row first = Child(treatment, 6);
        const Row second = Child(treatment, 7);
        Rename(tree, first, QStringLiteral("B1"));
        Rename(tree, second, QStringLiteral("B2"));
        tree->collapse(first);
        QVERIFY(WorkbenchModel::MayDrop(first, second));
        // An information line neither moves nor takes a drop.
        QVERIFY(!WorkbenchModel::MayDrop(Child(treatment, 5), first));
        QVERIFY(!WorkbenchModel::MayDrop(first, Child(treatment, 5)));
        Drop(tree, first, {second, kova::DropPlace::After});
        QCOMPARE(Text(Child(treatment, 6)), QStringLiteral("B2"));
        QCOMPARE(Text(Child(treatment, 7)), QStringLiteral("B1"));
        QVERIFY(!tree->isExpanded(Child(treatment, 7)));
        QVERIFY(tree->isExpanded(Child(treatment, 6)));
        const auto* model = window.workbench().patients()[0]->treatments[0].get();
        QCOMPARE(model->beams[0]->name, std::string("B2"));

        // A second patient's treatment is not a drop target for the first one's.
        tree->setCurrentIndex(Top(tree, 0));
        const Row other = AddPatientAndTreatment(window);
        QVERIFY(!WorkbenchModel::MayDrop(treatment, other));
        QVERIFY(!WorkbenchModel::MayDrop(Top(tree, 0), Top(tree, 1)));
    }

    /// The model's moves: a treatment or beam moves only among its own siblings of its kind,
    /// through moveRows (Qt's numbering: the row it goes before) or a drop, in the core and the
    /// rows alike; each move is one edit of the workbench.
    void modelMovesOnlyAmongSiblingsOfAKind() {
        MainWindow window(m_info, FolderOf(m_linacs));
        kova::gui::WorkbenchTree* tree = window.WorkbenchTreeView;
        const Row treatment = AddPatientAndTreatment(window);
        for (const char* name : {"B0", "B1", "B2"}) {
            tree->setCurrentIndex(treatment);
            DialogAnswer answer(FixedSsdBeam("100", "10", "10"));
            window.NewBeamClick();
            Rename(tree, LastChild(treatment), QString::fromLatin1(name));
        }
        const Row patient = treatment.parent();
        tree->setCurrentIndex(patient);
        {
            DialogAnswer answer([](QDialog& dialog) { return ClickOk(dialog, "OK"); });
            window.NewTreatmentClick();
        }
        const Row other = LastChild(patient);
        window.NewPatientClick();
        Rename(tree, treatment, QStringLiteral("T1"));
        Rename(tree, other, QStringLiteral("T2"));
        WorkbenchModel& model = *window.workbenchModel();
        QSignalSpy edits(&model, &WorkbenchModel::WorkbenchEdited);
        // Rows of the treatment: 0 to 5 its information lines, 6 to 8 its beams.
        const Row b0 = Child(treatment, 6);
        const Row b1 = Child(treatment, 7);
        const Row b2 = Child(treatment, 8);
        const struct {
            const char* what;
            Row from;
            Row to; ///< the parent it goes into
            int before;
            bool drop; ///< through MIME data, as the tree drops
            bool moves;
            const char* order; ///< the names under `to` afterwards
        } rows[] = {
            {"B0 after the last beam", b0, treatment, 9, false, true, "B1 B2 B0"},
            {"B0 back before the first", b0, treatment, 6, true, true, "B0 B1 B2"},
            {"B0 just after itself", b0, treatment, 7, false, false, "B0 B1 B2"},
            {"B1 among the lines", b1, treatment, 5, true, false, "B0 B1 B2"},
            {"B1 onto its treatment", b1, treatment, -1, true, false, "B0 B1 B2"},
            {"a line", Child(treatment, 5), treatment, 9, false, false, "B0 B1 B2"},
            {"B2 into another treatment", b2, other, 6, true, false, ""},
            {"T1 after T2", treatment, patient, 2, true, true, "T2 T1"},
            {"T1 back", treatment, patient, 0, false, true, "T1 T2"},
            {"a patient", patient, Row(), 2, false, false, "New Patient New Patient"},
        };
        for (const auto& row : rows) {
            edits.clear();
            const std::unique_ptr<QMimeData> data(model.mimeData({row.from}));
            const bool moved =
                row.drop ? model.dropMimeData(data.get(), Qt::MoveAction, row.before, 0, row.to)
                         : model.moveRows(row.from.parent(), row.from.row(), 1, row.to, row.before);
            QVERIFY2(moved == row.moves, row.what);
            QCOMPARE(edits.size(), row.moves ? 1 : 0);
            QCOMPARE(CoreNames(window, row.to).join(u' '), QString::fromLatin1(row.order));
            QCOMPARE(RecordRows(model, row.to), CoreNames(window, row.to));
        }
    }

    /// setData renames the core record: one edit for a new name, none for the same name or a
    /// line. A beam's rows are the core's result lines, whether their shape changes (a TPS MU
    /// typed) or only their texts and images (the action levels).
    void modelRenamesAndShowsTheCoreLines() {
        MainWindow window(m_info, FolderOf(m_linacs));
        const Row treatment = AddPatientAndTreatment(window);
        window.WorkbenchTreeView->setCurrentIndex(treatment);
        {
            DialogAnswer answer(FixedSsdBeam("200", "10", "10"));
            window.NewBeamClick();
        }
        WorkbenchModel& model = *window.workbenchModel();
        const Row beam = Child(treatment, 6);
        QSignalSpy edits(&model, &WorkbenchModel::WorkbenchEdited);
        const struct {
            QModelIndex row;
            const char* text;
            bool renamed;
            int edits;
        } renames[] = {
            {treatment.parent(), "Rossi", true, 1},  {treatment.parent(), "Rossi", true, 0},
            {treatment, "Pelvi", true, 1},           {beam, "AP", true, 1},
            {Child(treatment, 5), "Dose", false, 0}, {Child(beam, 0), "Field", false, 0},
        };
        for (const auto& rename : renames) {
            edits.clear();
            QCOMPARE(model.setData(rename.row, QString::fromLatin1(rename.text)), rename.renamed);
            QCOMPARE(edits.size(), rename.edits);
            QCOMPARE(Text(rename.row) == QString::fromLatin1(rename.text), rename.renamed);
        }
        const kova::Patient& patient = *window.workbench().patients()[0];
        QCOMPARE(patient.name + patient.treatments[0]->name, std::string("RossiPelvi"));
        kova::TBeam& record = *model.BeamAt(beam);
        QCOMPARE(record.name, std::string("AP"));

        // 298.51 MU against a TPS MU of 300: +0.5 %.
        const struct {
            std::optional<double> tpsMU;
            double level;
            bool warning;
        } lines[] = {{std::nullopt, 3, false}, {300, 3, false}, {300, 0.1, true}};
        for (const auto& line : lines) {
            record.tpsMU = line.tpsMU;
            kova::ActionLevels levels;
            levels.Set(kova::BeamKind::Photon, line.level);
            model.RefreshBeam(beam);
            model.SetActionLevels(levels);
            const kova::TextNode shown = kova::BeamNode(record, levels);
            QCOMPARE(IndentedRows(beam), kova::gui::ToQ(kova::IndentedText(shown.children)));
            const QVariant icon = LastChild(beam).data(Qt::DecorationRole);
            QCOMPARE(icon.value<QIcon>().isNull(), !line.warning);
        }
        QCOMPARE(edits.size(), 0);
    }

    /// Edit > Undo and Redo over every kind of change: each change taken back leaves the core
    /// and the rows exactly as before it, with the very records (a deleted patient with its
    /// treatment, beams, results and the tray a beam made on the spot; an edited beam with its
    /// own inputs and results), and done again as after it.
    void undoAndRedoEveryKindOfChange() {
        MainWindow window(m_info, FolderOf(m_linacs));
        WorkbenchModel& model = *window.workbenchModel();
        const Row treatment = AddPatientAndTreatment(window);
        for (const char* dose : {"200", "100"}) {
            window.WorkbenchTreeView->setCurrentIndex(treatment);
            DialogAnswer answer([dose](QDialog& dialog) {
                if (dialog.objectName() == QStringLiteral("ModifierValueDialog")) {
                    Type(dialog, "Name", "Tray on the spot");
                    Type(dialog, "Factor", "0.9");
                    return ClickOk(dialog, "OKBtn");
                }
                auto* tray = dialog.findChild<QComboBox*>(QStringLiteral("TrayComp"));
                tray->setCurrentIndex(tray->count() - 1); // "Set on fly..."
                return FixedSsdBeam(dose, "10", "10")(dialog);
            });
            window.NewBeamClick();
        }
        QCOMPARE(ChildCount(treatment), 8);
        const Row patient = treatment.parent();
        const struct {
            const char* what;
            std::function<void()> change;
            const char* undo; ///< the Undo item's text after the change
        } changes[] = {
            {"edit a beam",
             [&] {
                 window.WorkbenchTreeView->setCurrentIndex(Child(treatment, 6));
                 DialogAnswer answer([](QDialog& dialog) {
                     Type(dialog, "BeamDose", "150");
                     return ClickOk(dialog, "Button1");
                 });
                 window.EditBeamClick();
             },
             "Undo Edit \u201cNew Beam\u201d"},
            {"rename a beam", [&] { model.setData(Child(treatment, 7), QStringLiteral("PA")); },
             "Undo Rename \u201cNew Beam\u201d"},
            {"move a beam", [&] { model.moveRows(treatment, 7, 1, treatment, 6); },
             "Undo Move \u201cPA\u201d"},
            {"delete a beam", [&] { model.Delete(Child(treatment, 6)); },
             "Undo Delete \u201cPA\u201d"},
            {"delete the patient",
             [&] {
                 Dialogs::SetMessageAnswer(QMessageBox::Ok);
                 window.WorkbenchTreeView->setCurrentIndex(patient);
                 window.DeleteClick();
             },
             "Undo Delete \u201cNew Patient\u201d"},
        };
        for (const auto& row : changes) {
            const QString before = Snapshot(window);
            const std::vector<const void*> records = Records(window);
            row.change();
            const QString after = Snapshot(window);
            QVERIFY2(after != before, row.what);
            QCOMPARE(window.undoAction()->text(), QString::fromUtf8(row.undo));
            window.undoAction()->trigger();
            QCOMPARE(Snapshot(window), before);
            QVERIFY2(Records(window) == records, row.what);
            window.redoAction()->trigger();
            QCOMPARE(Snapshot(window), after);
        }
        QVERIFY(window.workbench().patients().empty());
        // Every change taken back: both beams again, the tray made on the spot under the first.
        for (std::size_t i = 0; i < std::size(changes); ++i) {
            window.undoAction()->trigger();
        }
        const QModelIndex back = Child(Top(window.WorkbenchTreeView, 0), 0);
        QCOMPARE(ChildCount(back), 8);
        QVERIFY2(IndentedRows(Child(back, 6)).contains(u"Tray on the spot"),
                 qPrintable(IndentedRows(Child(back, 6))));
        QCOMPARE(window.workbench().patients()[0]->treatments[0]->beams[0]->dose, 200.0);
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
        const Row patient = window.WorkbenchTreeView->currentIndex();
        Rename(window.WorkbenchTreeView, patient, QStringLiteral("Rossi Mario"));
        {
            DialogAnswer answer([](QDialog& dialog) {
                auto& treatment = dynamic_cast<TreatmentDialog&>(dialog);
                treatment.LINAC->setCurrentIndex(
                    treatment.LINAC->findText(QStringLiteral("DualDemo")));
                return ClickOk(dialog, "OK");
            });
            window.NewTreatmentClick();
        }
        const Row treatment = Child(patient, 0);
        QCOMPARE(Text(Child(treatment, 0)), QStringLiteral("Machine = DualDemo"));
        Rename(window.WorkbenchTreeView, treatment, QStringLiteral("Mammella sx"));
        window.WorkbenchTreeView->setCurrentIndex(treatment);
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
        QCOMPARE(ChildCount(treatment), 7);
        const Row beam = Child(treatment, 6);
        QCOMPARE(Text(beam), QStringLiteral("LAT"));
        const QStringList lines = Children(beam);
        QVERIFY2(lines.size() == 7 && lines[5].startsWith(QStringLiteral("MU = ")),
                 qPrintable(lines.join(u'|')));
        // The four jaws of the asymmetric field, then the wedge, tray and offset nodes.
        QCOMPARE(ChildCount(Child(beam, 0)), 4);
        const Row details = Child(beam, 6);
        QCOMPARE(Text(details), QStringLiteral("Dosimetric details"));
        QStringList modifiers;
        for (int i = 4; i < ChildCount(details); ++i) {
            modifiers << Text(Child(details, i));
        }
        QCOMPARE(modifiers, QStringList({QStringLiteral("W30"), QStringLiteral("Tray-Block"),
                                         QStringLiteral("2 cm")}));
        QCOMPARE(Children(Child(details, 6)).size(), 1);
        QVERIFY(Children(Child(details, 6))[0].startsWith(QStringLiteral("Offset Factor = ")));

        const QByteArray screenshot = qgetenv("KOVA_SCREENSHOT");
        if (!screenshot.isEmpty()) {
            window.WorkbenchTreeView->expandAll();
            window.WorkbenchTreeView->setCurrentIndex(beam);
            QTest::qWait(200);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshot)));
        }
    }
};

KOVA_GUI_TEST(MainWindowTest)
#include "main_window_test.moc"
