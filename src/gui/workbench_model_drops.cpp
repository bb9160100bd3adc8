// The workbench model's part in drag and drop: a dragged row travels as its row numbers, and
// a drop moves it among its siblings of its kind, in the core and in the rows.

#include "gui/workbench_model.h"
#include "gui/workbench_node.h"
#include "gui/workbench_undo.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QUndoStack>
#include <algorithm>

namespace kova::gui {

using Node = WorkbenchNode;

Qt::DropActions WorkbenchModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList WorkbenchModel::mimeTypes() const {
    return {QString::fromLatin1(kMimeType)};
}

QMimeData* WorkbenchModel::mimeData(const QModelIndexList& indexes) const {
    const auto dragged = std::find_if(indexes.begin(), indexes.end(), [](const QModelIndex& index) {
        return IsRecord(KindOf(index));
    });
    if (dragged == indexes.end()) {
        return nullptr;
    }
    QList<int> rows;
    for (QModelIndex up = *dragged; up.isValid(); up = up.parent()) {
        rows.prepend(up.row());
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << rows;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType), bytes);
    return data;
}

QModelIndex WorkbenchModel::DraggedIn(const QMimeData* data) const {
    const QString type = QString::fromLatin1(kMimeType);
    if (data == nullptr || !data->hasFormat(type)) {
        return {};
    }
    QList<int> rows;
    QDataStream in(data->data(type));
    in >> rows;
    QModelIndex found;
    for (const int row : rows) {
        if (in.status() != QDataStream::Ok || row < 0 || row >= rowCount(found)) {
            return {};
        }
        found = index(row, 0, found);
    }
    return found;
}

bool WorkbenchModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                     int column, const QModelIndex& parent) const {
    // A row is never dropped onto another (row -1): it goes between its siblings.
    if (action != Qt::MoveAction || row < 0 || column > 0) {
        return false;
    }
    const QModelIndex dragged = DraggedIn(data);
    const NodeKind kind = KindOf(dragged);
    if ((kind != NodeKind::Treatment && kind != NodeKind::Beam) || dragged.parent() != parent) {
        return false;
    }
    const KindRows siblings = RowsOf(NodeOf(parent), kind);
    return row >= siblings.first && row <= siblings.end;
}

bool WorkbenchModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                  const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    return moveRows(parent, DraggedIn(data).row(), 1, parent, row);
}

bool WorkbenchModel::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                              const QModelIndex& destinationParent, int destinationChild) {
    Node* parent = NodeOf(sourceParent);
    if (count != 1 || sourceParent != destinationParent || sourceRow < 0 ||
        sourceRow >= rowCount(sourceParent)) {
        return false;
    }
    Node* dragged = parent->children[static_cast<std::size_t>(sourceRow)].get();
    const KindRows siblings = RowsOf(parent, dragged->kind);
    if ((dragged->kind != NodeKind::Treatment && dragged->kind != NodeKind::Beam) ||
        destinationChild < siblings.first || destinationChild > siblings.end) {
        return false;
    }
    // Qt counts the row it goes before, in the rows before the move; the core places it next
    // to a sibling. Just before or after itself is no move.
    const bool after = destinationChild > sourceRow;
    const int targetRow = after ? destinationChild - 1 : destinationChild;
    if (targetRow == sourceRow) {
        return false;
    }
    const RecordPlace from = PlaceOf(dragged);
    const auto to = static_cast<std::size_t>(targetRow - siblings.first);
    m_undo->push(new MoveChange(
        *this, tr("Move \u201c%1\u201d").arg(index(sourceRow, 0, sourceParent).data().toString()),
        from, to));
    return true;
}

} // namespace kova::gui
