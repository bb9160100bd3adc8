#pragma once

#include "core/linac/linac_folder.h"
#include "core/workbench/program_title.h"
#include "core/workbench/workbench.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class QMenu;
class QTreeWidgetItem;

namespace kova::gui {

class PrintReportDialog;
class LinacsMenu;
class WorkbenchTree;

/// The main window: the workbench tree and its pop-up menus, and the one scan of the Linacs
/// folder. The tree shows the core Workbench; every command changes the model first and
/// then the nodes that show it.
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
    /// The "Linacs" menu of the menu bar, which opens the linacs' windows.
    LinacsMenu* linacsMenu() const { return m_linacsMenu; }

    WorkbenchTree* WorkbenchTreeView = nullptr;
    QMenu* WorkbenchPopupMenu = nullptr;
    QMenu* PatientPopupMenu = nullptr;
    QMenu* TreatmentPopupMenu = nullptr;
    QMenu* BeamPopupMenu = nullptr;

    /// The pop-up menu the tree offers now (none for information and result lines).
    QMenu* currentPopupMenu() const { return m_popup; }

    /// The print options dialog, made once with the window.
    PrintReportDialog* printReportDialog() const { return m_printDialog; }
    /// Where the banner files are read from: the program's folder unless set.
    void SetBannerFolder(const QString& folder) { m_bannerFolder = folder; }

public slots:
    void NewPatientClick();
    void NewTreatmentClick();
    void NewBeamClick();
    void DeletePatientClick();
    void DeleteTreatmentClick();
    void DeleteBeamClick();
    void EditBeamClick();
    void PrintPatientClick();
    void WorkbenchTreeViewChange();
    void WorkbenchTreeViewEdited(QTreeWidgetItem* item, int column);
    void WorkbenchTreeViewDragDrop(QTreeWidgetItem* target, QTreeWidgetItem* dragged);

protected:
    bool event(QEvent* event) override;

private:
    void BuildMenus();
    void ShowPopupMenu(const QPoint& position);
    const Patient* SelectedPatient() const;
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& caption);
    void ShowTreatment(QTreeWidgetItem* item, const TTreatment& treatment);
    void ShowBeam(QTreeWidgetItem* item, const TBeam& beam);
    void UpdateDoseLine(QTreeWidgetItem* treatmentItem);
    void SyncChildOrder(QTreeWidgetItem* parent);
    QTreeWidgetItem* SelectedWithKind(int kind) const;
    void ShowStatus(const QString& message);

    ProgramInfo m_info;
    QString m_linacFolder;
    bool m_linacsScanned = false;
    std::vector<std::unique_ptr<TLinacSpec>> m_linacs;
    Workbench m_workbench;
    QMenu* m_popup = nullptr;
    bool m_updating = false;
    PrintReportDialog* m_printDialog = nullptr;
    QString m_bannerFolder;
    QString m_pdfFolder;
    LinacsMenu* m_linacsMenu = nullptr;
};

} // namespace kova::gui
