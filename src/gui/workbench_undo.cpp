#include "gui/workbench_undo.h"

#include <utility>

namespace kova::gui {

WorkbenchChange::WorkbenchChange(WorkbenchModel& model, const QString& text)
    : QUndoCommand(text), m_model(model) {
}

void WorkbenchChange::Enter() {
    ++m_model.m_stackDepth;
}

void WorkbenchChange::Leave() {
    --m_model.m_stackDepth;
}

OwnedRecord WorkbenchChange::Take(const RecordPlace& place) {
    Enter();
    OwnedRecord taken = m_model.TakeRecord(place);
    Leave();
    return taken;
}

void WorkbenchChange::Put(const RecordPlace& place, OwnedRecord record) {
    Enter();
    m_model.PutRecord(place, std::move(record));
    Leave();
}

void WorkbenchChange::Rename(const RecordRef& record, const std::string& name) {
    Enter();
    m_model.RenameRecord(record, name);
    Leave();
}

void WorkbenchChange::Move(const RecordPlace& from, std::size_t to) {
    Enter();
    m_model.MoveRecord(from, to);
    Leave();
}

void WorkbenchChange::Swap(const RecordPlace& place, std::unique_ptr<TBeam>& beam) {
    Enter();
    m_model.SwapBeam(place, beam);
    Leave();
}

RecordChange::RecordChange(WorkbenchModel& model, const QString& text, Way way,
                           const RecordPlace& place, OwnedRecord record)
    : WorkbenchChange(model, text), m_way(way), m_place(place), m_record(std::move(record)) {
}

void RecordChange::redo() {
    m_way == Way::Insert ? In() : Out();
}

void RecordChange::undo() {
    m_way == Way::Insert ? Out() : In();
}

void RecordChange::In() {
    Put(m_place, std::move(m_record));
    m_record = {};
}

void RecordChange::Out() {
    m_record = Take(m_place);
}

RenameChange::RenameChange(WorkbenchModel& model, const QString& text, const RecordRef& record,
                           std::string before, std::string after)
    : WorkbenchChange(model, text), m_record(record), m_before(std::move(before)),
      m_after(std::move(after)) {
}

void RenameChange::redo() {
    Rename(m_record, m_after);
}

void RenameChange::undo() {
    Rename(m_record, m_before);
}

MoveChange::MoveChange(WorkbenchModel& model, const QString& text, const RecordPlace& from,
                       std::size_t to)
    : WorkbenchChange(model, text), m_from(from), m_to(to) {
}

void MoveChange::redo() {
    Move(m_from, m_to);
}

void MoveChange::undo() {
    RecordPlace back = m_from;
    back.index = m_to;
    Move(back, m_from.index);
}

BeamEditChange::BeamEditChange(WorkbenchModel& model, const QString& text, const RecordPlace& place,
                               std::unique_ptr<TBeam> edited)
    : WorkbenchChange(model, text), m_place(place), m_other(std::move(edited)) {
}

void BeamEditChange::redo() {
    Swap(m_place, m_other);
}

void BeamEditChange::undo() {
    Swap(m_place, m_other);
}

} // namespace kova::gui
