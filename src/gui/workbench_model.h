#pragma once

#include "core/beams/tps_check.h"
#include "core/workbench/linac_users.h"
#include "core/workbench/workbench.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

class QUndoStack;

namespace kova::gui {

struct WorkbenchNode;
class WorkbenchChange;

/// What a row of the workbench tree stands for. The workbench itself is the invisible root
/// (the invalid index): a click beside every node is a click on it.
enum class NodeKind { Workbench, Patient, Treatment, Beam, Line };

/// Patients, treatments and beams: the rows a user renames, moves and deletes.
inline bool IsRecord(NodeKind kind) {
    return kind == NodeKind::Patient || kind == NodeKind::Treatment || kind == NodeKind::Beam;
}

/// Where a patient, treatment or beam stands in the workbench: its parent record (none for a
/// patient) and its place among the records of its kind there. Records keep their addresses
/// while taken out and put back, so a place stays valid along the undo history.
struct RecordPlace {
    NodeKind kind = NodeKind::Patient;
    Patient* patient = nullptr;      ///< the patient of a treatment
    TTreatment* treatment = nullptr; ///< the treatment of a beam
    std::size_t index = 0;
};

/// A record out of the workbench with everything under it, or none.
using OwnedRecord = std::variant<std::monostate, std::unique_ptr<Patient>,
                                 std::unique_ptr<TTreatment>, std::unique_ptr<TBeam>>;

/// A record of the workbench.
using RecordRef = std::variant<Patient*, TTreatment*, TBeam*>;

/// The workbench as a Qt item model: patients at the top, under a patient its treatments,
/// under a treatment its information lines and then its beams, under a beam its result lines
/// (nested as the core nests them). The core Workbench is the one record: the model keeps a
/// node per row that points to a patient, treatment or beam, or holds a line the core
/// computed, and rebuilds the lines of one treatment or beam when the core says they changed.
/// Every change a user makes goes through the model (its methods, setData, moveRows), which
/// changes the core and tells the views; each of those changes emits WorkbenchEdited once.
/// Each is also a command of the model's undo stack, which keeps what it took away (a deleted
/// patient with its treatments and beams, the beam an edit replaced) whole for Undo.
class WorkbenchModel : public QAbstractItemModel {
    Q_OBJECT

public:
    /// The role that answers a row's NodeKind, as an int.
    static constexpr int kKindRole = Qt::UserRole;
    /// The MIME type of a dragged row: its row numbers from the top.
    static constexpr const char* kMimeType = "application/x-kova-workbench-row";

    /// The model over `workbench`, which must outlive it.
    explicit WorkbenchModel(Workbench& workbench, QObject* parent = nullptr);
    ~WorkbenchModel() override;

    /// The kind of the row; Workbench for the invalid index.
    static NodeKind KindOf(const QModelIndex& index);
    /// True when `dragged` may be dropped just before or after `target`: both are treatments
    /// or both beams, they differ and are siblings. Patients never move.
    static bool MayDrop(const QModelIndex& dragged, const QModelIndex& target);

    /// The record of a row of that kind; null for any other row.
    Patient* PatientAt(const QModelIndex& index) const;
    TTreatment* TreatmentAt(const QModelIndex& index) const;
    TBeam* BeamAt(const QModelIndex& index) const;

    /// The changes made through the model, to undo and redo; emptied when another workbench
    /// is shown or a linac's data change.
    QUndoStack* undoStack() const { return m_undo; }
    /// True while the undo stack changes the workbench: its edits are the stack's.
    bool changingThroughUndoStack() const { return m_stackDepth > 0; }

    // The changes a user makes; each emits WorkbenchEdited and can be undone.
    /// A new patient at the end; its row.
    QModelIndex AddPatient();
    /// Adds `treatment` to the patient of row `patient`; its row (invalid when not a patient).
    QModelIndex AddTreatment(const QModelIndex& patient, std::unique_ptr<TTreatment> treatment);
    /// Adds `beam` to the treatment of row `treatment`, whose dose line follows; its row.
    QModelIndex AddBeam(const QModelIndex& treatment, std::unique_ptr<TBeam> beam);
    /// Deletes the patient, treatment or beam of the row; false for any other row.
    bool Delete(const QModelIndex& index);
    /// Puts `edited` (a Clone of the row's beam that its dialog changed) in the beam's place;
    /// its name, lines and dose line follow. The beam it replaces is kept for Undo.
    void EditBeam(const QModelIndex& beam, std::unique_ptr<TBeam> edited);
    /// The core appended `patient` or treatments to it (a plan import): rows for them; the
    /// patient's row.
    QModelIndex ShowImported(const Patient& patient);

    // Display refreshes: the workbench itself did not change.
    /// Shows the beam's name, lines and its treatment's dose line again.
    void RefreshBeam(const QModelIndex& beam);
    /// The data of `linac` changed: its beams are computed again (ComputeAgainOn) and the
    /// treatments and beams on it show the outcome. The undo history goes: it would bring
    /// back beams computed on the data before.
    LinacChangeOutcome LinacEdited(const TLinacSpec* linac);
    /// Compares every beam with `levels` from now on and shows its lines again.
    void SetActionLevels(const ActionLevels& levels);
    /// Puts `workbench` (read from a file) in place of the one shown.
    void Replace(Workbench&& workbench);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// Renames the patient, treatment or beam; a new name emits WorkbenchEdited.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    /// True when the row that `data` carries may go to `row` of `parent` (Qt's numbering:
    /// the row it goes before): among its own siblings of its kind.
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    /// Moves one treatment or beam among its siblings of its kind, in the core and the rows.
    bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                  const QModelIndex& destinationParent, int destinationChild) override;

signals:
    /// The user changed the workbench: it differs from its file now.
    void WorkbenchEdited();

private:
    // The model's own changes, run by the commands of the undo stack.
    friend class WorkbenchChange;
    /// Takes the record at `place` out, with its rows; none when there is no such record.
    OwnedRecord TakeRecord(const RecordPlace& place);
    /// Puts `record` at `place`, with rows for it and everything under it.
    void PutRecord(const RecordPlace& place, OwnedRecord record);
    void RenameRecord(const RecordRef& record, const std::string& name);
    /// Moves the treatment or beam at `from` to place `to` among its siblings.
    void MoveRecord(const RecordPlace& from, std::size_t to);
    /// Puts `beam` in the place of the beam at `place`, which `beam` then holds.
    void SwapBeam(const RecordPlace& place, std::unique_ptr<TBeam>& beam);
    /// The row that holds the records of `place`'s kind (the workbench for patients).
    WorkbenchNode* ParentRow(const RecordPlace& place) const;
    /// The row of `place` under `parent`: a treatment's information lines come first.
    static int RowAt(const WorkbenchNode* parent, const RecordPlace& place);
    /// Where the record of a row stands.
    RecordPlace PlaceOf(const WorkbenchNode* node) const;
    WorkbenchNode* RowOfRecord(const RecordRef& record) const;
    /// Pushes a command that adds `record` at `place`; the row it got.
    QModelIndex Insert(const RecordPlace& place, OwnedRecord record, const QString& text);

    WorkbenchNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const WorkbenchNode* node) const;
    /// The row the MIME data of a dragged row names; invalid when none.
    QModelIndex DraggedIn(const QMimeData* data) const;
    void Rebuild();
    /// Shows `lines` in place of the first `count` rows under `parent`.
    void ShowLines(WorkbenchNode* parent, int count, const std::vector<TextNode>& lines);
    void UpdateLines(std::span<const std::unique_ptr<WorkbenchNode>> rows,
                     const std::vector<TextNode>& lines);
    void ShowInformationLines(WorkbenchNode* treatment);
    void ShowBeamLines(WorkbenchNode* beam);

    Workbench& m_workbench;
    QUndoStack* m_undo = nullptr;
    int m_stackDepth = 0; ///< inside a command of m_undo
    ActionLevels m_levels;
    std::unique_ptr<WorkbenchNode> m_root; ///< the workbench: its children are the patients
    std::vector<QIcon> m_icons;            ///< by image index, drawn once
};

} // namespace kova::gui
