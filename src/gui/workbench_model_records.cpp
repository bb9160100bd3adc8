// The workbench model's changes of records: each change a user makes is a command of the
// undo stack, and the commands run the model's own changes below, which change the core and
// the rows together.

#include "gui/qt_text.h"
#include "gui/workbench_model.h"
#include "gui/workbench_node.h"
#include "gui/workbench_undo.h"

#include <QUndoStack>
#include <algorithm>

namespace kova::gui {

using Node = WorkbenchNode;

namespace {

/// The records of `place`'s kind in the core: where a record of that place stands.
std::size_t CountAt(const Workbench& workbench, const RecordPlace& place) {
    switch (place.kind) {
    case NodeKind::Patient:
        return workbench.patients().size();
    case NodeKind::Treatment:
        return place.patient != nullptr ? place.patient->treatments.size() : 0;
    case NodeKind::Beam:
        return place.treatment != nullptr ? place.treatment->beams.size() : 0;
    default:
        return 0;
    }
}

QString Quoted(const std::string& name) {
    return u'\u201c' + ToQ(name) + u'\u201d';
}

} // namespace

QModelIndex WorkbenchModel::Insert(const RecordPlace& place, OwnedRecord record,
                                   const QString& text) {
    m_undo->push(
        new RecordChange(*this, text, RecordChange::Way::Insert, place, std::move(record)));
    Node* parent = ParentRow(place);
    return parent != nullptr ? index(RowAt(parent, place), 0, IndexOf(parent)) : QModelIndex();
}

QModelIndex WorkbenchModel::AddPatient() {
    const RecordPlace place{NodeKind::Patient, nullptr, nullptr, m_workbench.patients().size()};
    return Insert(place, std::make_unique<Patient>(), tr("New Patient"));
}

QModelIndex WorkbenchModel::AddTreatment(const QModelIndex& patient,
                                         std::unique_ptr<TTreatment> treatment) {
    Patient* owner = PatientAt(patient);
    if (owner == nullptr || !treatment) {
        return {};
    }
    const QString text = tr("New Treatment %1").arg(Quoted(treatment->name));
    return Insert({NodeKind::Treatment, owner, nullptr, owner->treatments.size()},
                  std::move(treatment), text);
}

QModelIndex WorkbenchModel::AddBeam(const QModelIndex& treatment, std::unique_ptr<TBeam> beam) {
    TTreatment* owner = TreatmentAt(treatment);
    if (owner == nullptr || !beam) {
        return {};
    }
    const QString text = tr("New Beam %1").arg(Quoted(beam->name));
    return Insert({NodeKind::Beam, nullptr, owner, owner->beams.size()}, std::move(beam), text);
}

bool WorkbenchModel::Delete(const QModelIndex& index) {
    const Node* node = NodeOf(index);
    if (!index.isValid() || !IsRecord(node->kind)) {
        return false;
    }
    m_undo->push(new RecordChange(*this,
                                  tr("Delete %1").arg(Quoted(FromQ(index.data().toString()))),
                                  RecordChange::Way::Remove, PlaceOf(node)));
    return true;
}

void WorkbenchModel::EditBeam(const QModelIndex& beam, std::unique_ptr<TBeam> edited) {
    const Node* node = NodeOf(beam);
    if (!beam.isValid() || node->kind != NodeKind::Beam || !edited) {
        return;
    }
    const QString text = tr("Edit %1").arg(Quoted(node->beam->name));
    m_undo->push(new BeamEditChange(*this, text, PlaceOf(node), std::move(edited)));
}

QModelIndex WorkbenchModel::ShowImported(const Patient& patient) {
    const auto& patients = m_workbench.patients();
    const auto found =
        std::find_if(patients.begin(), patients.end(),
                     [&patient](const auto& owned) { return owned.get() == &patient; });
    if (found == patients.end()) {
        return {};
    }
    // The core holds what the plan added; taken out again, it goes in through the undo stack,
    // so that Undo takes the import back.
    Patient* owner = found->get();
    const auto shown = std::find_if(m_root->children.begin(), m_root->children.end(),
                                    [owner](const auto& node) { return node->patient == owner; });
    if (shown == m_root->children.end()) {
        std::size_t row = 0;
        std::unique_ptr<Patient> added = m_workbench.TakePatient(owner, row);
        return Insert({NodeKind::Patient, nullptr, nullptr, row}, std::move(added),
                      tr("Import RT Plan"));
    }
    const std::size_t first = (*shown)->children.size();
    std::vector<std::unique_ptr<TTreatment>> added;
    while (owner->treatments.size() > first) {
        added.push_back(std::move(owner->treatments[first]));
        owner->treatments.erase(owner->treatments.begin() + static_cast<std::ptrdiff_t>(first));
    }
    m_undo->beginMacro(tr("Import RT Plan"));
    for (auto& treatment : added) {
        Insert({NodeKind::Treatment, owner, nullptr, owner->treatments.size()},
               std::move(treatment), tr("Import RT Plan"));
    }
    m_undo->endMacro();
    return IndexOf(shown->get());
}

Node* WorkbenchModel::ParentRow(const RecordPlace& place) const {
    switch (place.kind) {
    case NodeKind::Patient:
        return m_root.get();
    case NodeKind::Treatment:
        return RowOfRecord(place.patient);
    case NodeKind::Beam:
        return RowOfRecord(place.treatment);
    default:
        return nullptr;
    }
}

int WorkbenchModel::RowAt(const Node* parent, const RecordPlace& place) {
    const int lines = place.kind == NodeKind::Beam ? RowsOf(parent, NodeKind::Line).end : 0;
    return lines + static_cast<int>(place.index);
}

RecordPlace WorkbenchModel::PlaceOf(const Node* node) const {
    const Node* parent = node->parent;
    RecordPlace place{node->kind, parent->patient, parent->treatment, 0};
    const KindRows siblings = RowsOf(parent, node->kind);
    for (int row = siblings.first; row < siblings.end; ++row) {
        if (parent->children[static_cast<std::size_t>(row)].get() == node) {
            place.index = static_cast<std::size_t>(row - siblings.first);
        }
    }
    return place;
}

Node* WorkbenchModel::RowOfRecord(const RecordRef& record) const {
    const NodeKind kinds[] = {NodeKind::Patient, NodeKind::Treatment, NodeKind::Beam};
    for (Node* node : RecordsOf(m_root.get(), kinds[record.index()])) {
        const bool same = std::visit(
            [node](const auto* wanted) {
                return static_cast<const void*>(wanted) == node->patient ||
                       static_cast<const void*>(wanted) == node->treatment ||
                       static_cast<const void*>(wanted) == node->beam;
            },
            record);
        if (same) {
            return node;
        }
    }
    return nullptr;
}

OwnedRecord WorkbenchModel::TakeRecord(const RecordPlace& place) {
    Node* parent = ParentRow(place);
    if (parent == nullptr || place.index >= CountAt(m_workbench, place)) {
        return {};
    }
    const int row = RowAt(parent, place);
    beginRemoveRows(IndexOf(parent), row, row);
    // The row goes first: it points to the record.
    const std::unique_ptr<Node> gone = std::move(parent->children[static_cast<std::size_t>(row)]);
    parent->children.erase(parent->children.begin() + row);
    std::size_t index = 0;
    OwnedRecord taken;
    if (gone->kind == NodeKind::Patient) {
        taken = m_workbench.TakePatient(gone->patient, index);
    } else if (gone->kind == NodeKind::Treatment) {
        taken = m_workbench.TakeTreatment(gone->treatment, index);
    } else {
        taken = m_workbench.TakeBeam(gone->beam, index);
    }
    endRemoveRows();
    if (gone->kind == NodeKind::Beam) {
        ShowInformationLines(parent);
    }
    emit WorkbenchEdited();
    return taken;
}

void WorkbenchModel::PutRecord(const RecordPlace& place, OwnedRecord record) {
    Node* parent = ParentRow(place);
    if (parent == nullptr || std::holds_alternative<std::monostate>(record)) {
        return;
    }
    const std::size_t index = std::min(place.index, CountAt(m_workbench, place));
    const int row = RowAt(parent, {place.kind, nullptr, nullptr, index});
    beginInsertRows(IndexOf(parent), row, row);
    std::unique_ptr<Node> made;
    if (auto* patient = std::get_if<std::unique_ptr<Patient>>(&record)) {
        Patient& put = **patient;
        m_workbench.PutPatient(index, std::move(*patient));
        made = PatientRow(put, parent, m_levels);
    } else if (auto* treatment = std::get_if<std::unique_ptr<TTreatment>>(&record)) {
        TTreatment& put = **treatment;
        m_workbench.PutTreatment(*place.patient, index, std::move(*treatment));
        made = TreatmentRow(put, parent, m_levels);
    } else if (auto* beam = std::get_if<std::unique_ptr<TBeam>>(&record)) {
        TBeam& put = **beam;
        m_workbench.PutBeam(*place.treatment, index, std::move(*beam));
        made = BeamRow(put, parent, m_levels);
    }
    parent->children.insert(parent->children.begin() + row, std::move(made));
    endInsertRows();
    if (place.kind == NodeKind::Beam) {
        ShowInformationLines(parent);
    }
    emit WorkbenchEdited();
}

void WorkbenchModel::RenameRecord(const RecordRef& record, const std::string& name) {
    Node* node = RowOfRecord(record);
    if (node == nullptr) {
        return;
    }
    std::visit([&name](auto* owner) { owner->name = name; }, record);
    const QModelIndex changed = IndexOf(node);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    emit WorkbenchEdited();
}

void WorkbenchModel::MoveRecord(const RecordPlace& from, std::size_t to) {
    Node* parent = ParentRow(from);
    const std::size_t count = CountAt(m_workbench, from);
    if (parent == nullptr || from.index >= count || to >= count || from.index == to ||
        (from.kind != NodeKind::Treatment && from.kind != NodeKind::Beam)) {
        return;
    }
    const int sourceRow = RowAt(parent, from);
    const int targetRow = RowAt(parent, {from.kind, nullptr, nullptr, to});
    Node* dragged = parent->children[static_cast<std::size_t>(sourceRow)].get();
    const Node* target = parent->children[static_cast<std::size_t>(targetRow)].get();
    const bool after = targetRow > sourceRow;
    const DropPlace place = after ? DropPlace::After : DropPlace::Before;
    // Qt counts the row the moved one goes before, in the rows before the move.
    const QModelIndex parentIndex = IndexOf(parent);
    beginMoveRows(parentIndex, sourceRow, sourceRow, parentIndex,
                  after ? targetRow + 1 : targetRow);
    const bool moved = from.kind == NodeKind::Treatment
                           ? m_workbench.DropTreatment(target->treatment, dragged->treatment, place)
                           : m_workbench.DropBeam(target->beam, dragged->beam, place);
    Q_ASSERT(moved);
    std::unique_ptr<Node> moving = std::move(parent->children[static_cast<std::size_t>(sourceRow)]);
    parent->children.erase(parent->children.begin() + sourceRow);
    parent->children.insert(parent->children.begin() + targetRow, std::move(moving));
    endMoveRows();
    emit WorkbenchEdited();
}

void WorkbenchModel::SwapBeam(const RecordPlace& place, std::unique_ptr<TBeam>& beam) {
    Node* parent = ParentRow(place);
    if (parent == nullptr || !beam || place.index >= CountAt(m_workbench, place)) {
        return;
    }
    Node* node = parent->children[static_cast<std::size_t>(RowAt(parent, place))].get();
    TBeam* put = beam.get();
    std::unique_ptr<TBeam> old = m_workbench.ReplaceBeam(node->beam, std::move(beam));
    beam = std::move(old);
    node->beam = put;
    RefreshBeam(IndexOf(node));
    emit WorkbenchEdited();
}

} // namespace kova::gui
