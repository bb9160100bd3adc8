#pragma once

#include "core/beams/tps_check.h"
#include "core/linac/linac_folder.h"
#include "core/record/check_record.h"
#include "core/workbench/program_title.h"
#include "core/workbench/workbench.h"
#include "gui/workbench_commands.h"
#include "gui/workbench_document.h"

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QFontMetrics;
class QLabel;
class QMenu;
class QSettings;

namespace kova::gui {

class ExplainDock;
class HistoryWindow;
class PrintReportDialog;
class RecordKeeper;
struct PlanImportOutcome;
class LinacsMenu;
class WorkbenchModel;
class WorkbenchTree;

/// The main window's size on first start, within the screen area `available`: tall enough
/// for the whole result of one beam.
QSize FirstStartSize(const QRect& available);

/// `text` with its "%1" replaced by `part`, cut (`mode`) so that the whole fits `width`
/// pixels of `metrics`: the status bar's notes fit the first-start width side by side.
QString FittedNote(const QFontMetrics& metrics, const QString& text, const QString& part, int width,
                   Qt::TextElideMode mode);

/// The main window: the workbench tree with its pop-up menus, the menu bar and keys that
/// reach the same commands, the workbench file, and the one scan of the Linacs folder. The
/// tree shows the WorkbenchModel over the core Workbench; every command changes the
/// workbench through the model, and the model's edits mark the file modified.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    /// `linacFolder` is scanned on the first activation; `info` gives the caption.
    explicit MainWindow(ProgramInfo info, QString linacFolder = QStringLiteral("Linacs"),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Reads every linac file of the folder once; later calls do nothing.
    void ScanLinacs();
    bool linacsScanned() const { return m_linacsScanned; }
    const std::vector<std::unique_ptr<TLinacSpec>>& LinacList() const { return m_linacs; }
    const Workbench& workbench() const { return m_workbench; }
    /// The model the tree shows.
    WorkbenchModel* workbenchModel() const { return m_model; }
    /// The "Linacs" menu of the menu bar, which opens the linacs' windows.
    LinacsMenu* linacsMenu() const { return m_linacsMenu; }
    /// The file the workbench is saved in and read from.
    const WorkbenchDocument& document() const { return m_document; }
    /// The action of a command, shared by the pop-up menus and the menu bar.
    QAction* action(Command command) const { return m_actions.at(command); }
    /// The permanent part of the status bar: how many linacs were read.
    QLabel* linacCountLabel() const { return m_linacCount; }
    /// Edit > Undo and Redo, which take back and redo the model's changes.
    QAction* undoAction() const { return m_undoAction; }
    QAction* redoAction() const { return m_redoAction; }

    /// Restores the window's size and place from `settings` (a useful size on first start)
    /// and keeps them there when the window closes; "Linac folder..." keeps its choice
    /// there too. Without it nothing is remembered and "Linac folder..." is disabled.
    void RememberGeometryIn(QSettings* settings);

    /// Keeps checks in `keeper`'s record, offered in a "Record" menu: "Record Checks" on the
    /// selection, the beams of an imported RT Plan as soon as they are computed, the checks
    /// kept while the record is busy, the history window and the record's place. Without it
    /// nothing is recorded and there is no such menu. `keeper` must outlive the window.
    void AttachRecord(RecordKeeper* keeper);
    /// The history window, once opened.
    HistoryWindow* historyWindow() const { return m_history; }

    /// Why the linac folder is the one in use (`why` for the About box, `shortWhy` for the
    /// status bar); set before the window is first shown.
    void SetLinacFolderReason(const QString& why, const QString& shortWhy);
    /// The permanent part of the status bar that names the linac folder and why.
    QLabel* linacFolderLabel() const { return m_linacFolderLabel; }
    /// The folder chosen with "Linac folder..." in `settings`; empty when none.
    static QString ChosenLinacFolder(const QSettings& settings);

    WorkbenchTree* WorkbenchTreeView = nullptr;
    QMenu* WorkbenchPopupMenu = nullptr;
    QMenu* PatientPopupMenu = nullptr;
    QMenu* TreatmentPopupMenu = nullptr;
    QMenu* BeamPopupMenu = nullptr;

    /// The pop-up menu the tree offers now (none for information and result lines).
    QMenu* currentPopupMenu() const { return m_popup; }

    /// The print options dialog, made once with the window.
    PrintReportDialog* printReportDialog() const { return m_printDialog; }
    /// "Explain": the trace of the selected result line.
    ExplainDock* explainDock() const { return m_explain; }
    /// Where the banner files are read from: the program's folder unless set.
    void SetBannerFolder(const QString& folder) { m_bannerFolder = folder; }

    /// Reads the action levels from kActionLevelsFile in `folder` (the program's folder at
    /// start), or takes the defaults and says why in the status bar; the beams shown are
    /// compared with them again.
    void LoadActionLevels(const QString& folder);
    const LoadedActionLevels& actionLevels() const { return m_levels; }
    /// The status bar's note that the default action levels are in use; hidden otherwise.
    QLabel* actionLevelsNote() const { return m_actionLevelsNote; }

public slots:
    void NewPatientClick();
    void NewTreatmentClick();
    void NewBeamClick();
    void DeletePatientClick();
    void DeleteTreatmentClick();
    void DeleteBeamClick();
    void EditBeamClick();
    /// A result line of a beam activated: the plots of the beam's energy, marked where its
    /// calculation read the tables.
    void ShowPlotsOfLine(const QModelIndex& line);
    void PrintPatientClick();
    /// "Import RT Plan...": on the workbench into a new patient, on a patient into it.
    void ImportPlanClick();
    /// Delete on the menu bar or the Delete key: the selected patient, treatment or beam.
    void DeleteClick();
    void RenameClick();
    /// Puts the selected beam's or treatment's lines on the clipboard as indented text.
    void CopyClick();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void AboutClick();
    void LinacFilesClick();
    void LinacFolderClick();
    void WorkbenchTreeViewChange();
    /// The linac window changed `linac`: its beams are computed again on the new data, and
    /// the status bar (and a message, for beams the new data refuse) says what came of it.
    void LinacEdited(const TLinacSpec* linac);
    /// The caption names the workbench's file and marks unsaved changes ("[*]").
    void UpdateTitle();
    /// Records the computed beams of the selected patient, treatment or beam (of the whole
    /// workbench when nothing is selected).
    void RecordChecksClick();
    void SaveKeptChecksClick();
    void HistoryClick();
    void RecordLocationClick();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildMenuBar();
    QMenu* BuildPopup(Popup popup);
    void UpdateCommands();
    void ShowPopupMenu(const QPoint& position);
    /// The selected node; invalid when none is (the workbench itself).
    QModelIndex SelectedNode() const;
    /// The selected node when it is of `kind`, else invalid.
    QModelIndex SelectedWithKind(NodeKind kind) const;
    /// Asks before deleting a patient or treatment that holds beams; true to delete.
    bool ConfirmDelete(const QModelIndex& node);
    void DeleteSelected(NodeKind kind);
    const Patient* SelectedPatient() const;
    void ShowStatus(const QString& message);
    /// The records of the computed beams of `treatments` of `patient` (only `only` when
    /// given), the patient as RecordedPatient names it; the beams that cannot be recorded
    /// go to `problems`.
    std::vector<record::CheckRecord> ChecksOf(const Patient& patient,
                                              const std::vector<TTreatment*>& treatments,
                                              const TBeam* only, QStringList& problems) const;
    /// Saves `checks` with those kept before; says in the status bar what was saved, and in
    /// the error box what is kept or could not be recorded.
    void KeepChecks(std::vector<record::CheckRecord> checks, const QStringList& problems);
    void RecordImportedPlan(const PlanImportOutcome& outcome);
    /// Before the window closes: true when no check is kept unsaved, or the user lets them
    /// go after one more try to save them.
    bool MayDropKeptChecks();

    ProgramInfo m_info;
    QString m_linacFolder;
    bool m_linacsScanned = false;
    std::vector<std::unique_ptr<TLinacSpec>> m_linacs;
    Workbench m_workbench;
    WorkbenchModel* m_model = nullptr;
    QMenu* m_popup = nullptr;
    PrintReportDialog* m_printDialog = nullptr;
    ExplainDock* m_explain = nullptr;
    QString m_bannerFolder;
    QString m_pdfFolder;
    LinacsMenu* m_linacsMenu = nullptr;
    std::map<Command, QAction*> m_actions;
    WorkbenchDocument m_document;
    QSettings* m_settings = nullptr;
    QLabel* m_linacCount = nullptr;
    QLabel* m_linacFolderLabel = nullptr;
    QAction* m_linacFolderAction = nullptr;
    QString m_linacFolderWhy;
    std::string m_folderError;
    std::vector<LinacFileNote> m_linacFiles;
    LoadedActionLevels m_levels;
    QLabel* m_actionLevelsNote = nullptr;
    QString m_planFolder;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    RecordKeeper* m_record = nullptr;
    HistoryWindow* m_history = nullptr;
};

} // namespace kova::gui
