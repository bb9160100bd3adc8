#pragma once

#include "gui/workbench_model.h"

#include <QUndoCommand>
#include <memory>
#include <string>

namespace kova::gui {

/// A change of the workbench on the model's undo stack. It runs the model's own changes, so
/// the rows follow the core, and counts them as the stack's.
class WorkbenchChange : public QUndoCommand {
protected:
    WorkbenchChange(WorkbenchModel& model, const QString& text);

    OwnedRecord Take(const RecordPlace& place);
    void Put(const RecordPlace& place, OwnedRecord record);
    void Rename(const RecordRef& record, const std::string& name);
    void Move(const RecordPlace& from, std::size_t to);
    void Swap(const RecordPlace& place, std::unique_ptr<TBeam>& beam);

private:
    /// While a change of the model runs, its edits count as the stack's.
    void Enter();
    void Leave();

    WorkbenchModel& m_model;
};

/// A patient, treatment or beam added (Insert) or deleted (Remove). While it is out of the
/// workbench the record lives here whole: a treatment with its beams, a beam with its inputs,
/// results and the entries it made on the spot.
class RecordChange : public WorkbenchChange {
public:
    enum class Way { Insert, Remove };

    /// An Insert takes the record; a Remove takes it out of `place` when it runs.
    RecordChange(WorkbenchModel& model, const QString& text, Way way, const RecordPlace& place,
                 OwnedRecord record = {});

    void redo() override;
    void undo() override;

private:
    void In();
    void Out();

    Way m_way;
    RecordPlace m_place;
    OwnedRecord m_record;
};

/// A new name for a patient, treatment or beam.
class RenameChange : public WorkbenchChange {
public:
    RenameChange(WorkbenchModel& model, const QString& text, const RecordRef& record,
                 std::string before, std::string after);

    void redo() override;
    void undo() override;

private:
    RecordRef m_record;
    std::string m_before, m_after;
};

/// A treatment or beam moved among its siblings.
class MoveChange : public WorkbenchChange {
public:
    MoveChange(WorkbenchModel& model, const QString& text, const RecordPlace& from, std::size_t to);

    void redo() override;
    void undo() override;

private:
    RecordPlace m_from;
    std::size_t m_to;
};

/// A beam changed in its dialog: the dialog worked on a copy, which takes the beam's place.
/// The beam it replaced waits here, exactly as it was, for Undo (and the copy for Redo).
class BeamEditChange : public WorkbenchChange {
public:
    BeamEditChange(WorkbenchModel& model, const QString& text, const RecordPlace& place,
                   std::unique_ptr<TBeam> edited);

    void redo() override;
    void undo() override;

private:
    RecordPlace m_place;
    std::unique_ptr<TBeam> m_other; ///< the beam not in the workbench now
};

} // namespace kova::gui
