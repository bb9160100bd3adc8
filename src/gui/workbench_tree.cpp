#include "gui/workbench_tree.h"

#include "gui/icons.h"

#include <QDragMoveEvent>
#include <QDropEvent>

namespace kova::gui {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;

} // namespace

WorkbenchTree::WorkbenchTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("WorkbenchTreeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setIconSize(QSize(16, 16));
}

void WorkbenchTree::SetObject(QTreeWidgetItem* item, NodeKind kind, void* object) {
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    const bool hasObject = object != nullptr && kind != NodeKind::Line;
    item->setIcon(0, hasObject ? WorkbenchIcon(static_cast<int>(kind)) : QIcon());
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (hasObject) {
        flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    }
    item->setFlags(flags);
}

NodeKind WorkbenchTree::KindOf(const QTreeWidgetItem* item) {
    if (item == nullptr || !item->data(0, kKindRole).isValid()) {
        return NodeKind::Line;
    }
    return static_cast<NodeKind>(item->data(0, kKindRole).toInt());
}

void* WorkbenchTree::ObjectOf(const QTreeWidgetItem* item) {
    if (item == nullptr || KindOf(item) == NodeKind::Line) {
        return nullptr;
    }
    return reinterpret_cast<void*>(item->data(0, kObjectRole).value<quintptr>());
}

int WorkbenchTree::LevelOf(const QTreeWidgetItem* item) {
    int level = 0;
    for (const QTreeWidgetItem* parent = item->parent(); parent != nullptr;
         parent = parent->parent()) {
        ++level;
    }
    return level;
}

bool WorkbenchTree::DropAllowed(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) {
    if (dragged == nullptr || target == nullptr || dragged == target) {
        return false;
    }
    const NodeKind kind = KindOf(dragged);
    return kind != NodeKind::Patient && ObjectOf(dragged) != nullptr &&
           ObjectOf(target) != nullptr && KindOf(target) == kind &&
           dragged->parent() == target->parent();
}

void WorkbenchTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void WorkbenchTree::dragMoveEvent(QDragMoveEvent* event) {
    const QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (event->source() == this && DropAllowed(currentItem(), target)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void WorkbenchTree::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    QTreeWidgetItem* dragged = currentItem();
    // The tree never moves nodes itself: the workbench reorders its model, then the view.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() == this && DropAllowed(dragged, target)) {
        emit NodeDropped(target, dragged);
    }
}

} // namespace kova::gui
