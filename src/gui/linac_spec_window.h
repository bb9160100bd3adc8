#pragma once

#include "core/dosimetry/energy_plots.h"
#include "core/linac/energies_commands.h"
#include "core/workbench/workbench.h"

#include <QWidget>
#include <map>
#include <set>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kova::gui {

class EnergyPlotsWindow;

/// The window of one linac: its identity, geometry and jaw labels (shown, never read back),
/// and the energies tree, whose commands add, remove and edit energies and table entries in
/// memory. The rules of those commands live in the core; this window shows them. Closing it
/// hides it; the linac lives on in the main window's list. "Save As..." writes the linac with
/// its edits to a new linac file, never into the program's Linacs folder.
class LinacSpecWindow : public QWidget {
    Q_OBJECT

public:
    /// `workbench` tells which energies and entries are in use; `linacFolder` is the folder
    /// the linacs were read from.
    LinacSpecWindow(TLinacSpec& linac, const Workbench& workbench, QString linacFolder,
                    QWidget* parent = nullptr);

    const TLinacSpec& linac() const { return m_linac; }

    /// Shows the plots of `energy`, one of this linac's, marking `marks` (a beam's lookup
    /// points; none when not opened from a beam). An entry typed in its editor here shows
    /// on them at once.
    EnergyPlotsWindow* ShowPlots(const TEnergy& energy, PlotMarks marks = {});
    /// The plots window of `energy`; null when it was never opened.
    EnergyPlotsWindow* PlotsOf(const TEnergy& energy) const;

    QLineEdit* Name = nullptr;
    QLineEdit* Brand = nullptr;
    QLineEdit* Model = nullptr;
    QLineEdit* SerialNumber = nullptr;
    QLineEdit* SAD = nullptr;
    QCheckBox* isAsymmetricFieldsOnWidth = nullptr;
    QCheckBox* isAsymmetricFieldsOnHeight = nullptr;
    QLineEdit* WidthChar = nullptr;
    QLineEdit* HeightChar = nullptr;
    QLineEdit* LeftChar = nullptr;
    QLineEdit* RightChar = nullptr;
    QLineEdit* BottomChar = nullptr;
    QLineEdit* TopChar = nullptr;
    QTreeWidget* Energies = nullptr;
    QPushButton* cAddgamma = nullptr;
    QPushButton* cAddeminus = nullptr;
    QPushButton* cRemove = nullptr;
    QPushButton* cDisplay = nullptr;
    QPushButton* cPlots = nullptr;
    QPushButton* cSaveAs = nullptr;
    QLabel* SaveLine = nullptr; ///< where the last "Save As..." went

signals:
    /// An energy or table entry of the linac was changed in its window.
    void LinacEdited(const kova::TLinacSpec* linac);

public slots:
    void cAddgammaClick();
    void cAddeminusClick();
    void cRemoveClick();
    void cDisplayClick();
    /// The plots of the selected node's energy.
    void cPlotsClick();
    void cSaveAsClick();

private:
    QWidget* BuildIdentifiers();
    QWidget* BuildGeometry();
    QWidget* BuildLabels();
    QWidget* BuildEnergies();
    void ShowFields();
    /// The selected node as the core's commands see it.
    EnergiesSelection Selected() const;
    /// The energy of the selected node; null when nothing is selected.
    const TEnergy* SelectedEnergy() const;
    /// Draws every open plots window again from the tables.
    void RefreshPlots();
    /// Shows the new record's window; on OK adds it to the linac.
    void Add(EnergiesAddition addition, const EnergiesSelection& selection);
    /// Rebuilds the tree from the linac, keeping the nodes that were expanded and the
    /// selection, and expanding the nodes of `expand` as well.
    void RebuildTree(const std::set<const void*>& expand = {});
    void AddItems(QTreeWidgetItem* parent, const EnergiesTreeNode& node);

    TLinacSpec& m_linac;
    const Workbench& m_workbench;
    QString m_linacFolder;
    std::vector<EnergiesTreeNode> m_tree;
    /// Photon energies made here rather than read: their multileaf group follows their flag.
    std::vector<const TgEnergy*> m_addedEnergies;
    std::map<const TEnergy*, EnergyPlotsWindow*> m_plots; ///< children of this window
};

} // namespace kova::gui
