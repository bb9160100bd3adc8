#include "gui/workbench_tree.h"

#include "gui/icons.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>

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
    // The tree draws its own indicator: the line where the dragged node will go.
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

std::optional<WorkbenchTree::DropSpot> WorkbenchTree::DropSpotAt(const QPoint& position) const {
    QTreeWidgetItem* target = itemAt(position);
    if (!DropAllowed(currentItem(), target)) {
        return std::nullopt;
    }
    const QRect row = visualItemRect(target);
    return DropSpot{target, position.y() < row.center().y() ? DropPlace::Before : DropPlace::After};
}

QLine WorkbenchTree::LineFor(const DropSpot& spot) const {
    const QRect row = visualItemRect(spot.target);
    if (spot.place == DropPlace::Before) {
        return {row.left(), row.top(), viewport()->width(), row.top()};
    }
    // After a node means after everything shown under it.
    const QTreeWidgetItem* last = spot.target;
    while (last->isExpanded() && last->childCount() > 0) {
        last = last->child(last->childCount() - 1);
    }
    const int bottom = visualItemRect(last).bottom() + 1;
    return {row.left(), bottom, viewport()->width(), bottom};
}

void WorkbenchTree::SetDropLine(const QLine& line) {
    if (line != m_dropLine) {
        m_dropLine = line;
        viewport()->update();
    }
}

void WorkbenchTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void WorkbenchTree::dragMoveEvent(QDragMoveEvent* event) {
    const std::optional<DropSpot> spot =
        event->source() == this ? DropSpotAt(event->position().toPoint()) : std::nullopt;
    if (hasAutoScroll()) {
        // Scrolls while the pointer is near an edge, and stops by itself elsewhere.
        startAutoScroll();
    }
    if (spot) {
        SetDropLine(LineFor(*spot));
        event->acceptProposedAction();
    } else {
        SetDropLine({});
        event->ignore();
    }
}

void WorkbenchTree::dragLeaveEvent(QDragLeaveEvent* event) {
    stopAutoScroll();
    SetDropLine({});
    QTreeWidget::dragLeaveEvent(event);
}

void WorkbenchTree::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    SetDropLine({});
    const std::optional<DropSpot> spot =
        event->source() == this ? DropSpotAt(event->position().toPoint()) : std::nullopt;
    QTreeWidgetItem* dragged = currentItem();
    // The tree never moves nodes itself: the workbench reorders its model, then the view.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (spot) {
        emit NodeDropped(spot->target, dragged, spot->place);
    }
}

void WorkbenchTree::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    if (!m_dropLine.isNull()) {
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawLine(m_dropLine);
    }
}

void WorkbenchTree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && KindOf(item) == NodeKind::Beam &&
        ObjectOf(item) != nullptr) {
        // The item view's own handling ends a rename the first click may have started; the
        // tree view's would also fold the beam.
        QAbstractItemView::mouseDoubleClickEvent(event);
        setCurrentItem(item);
        emit BeamActivated(item);
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void WorkbenchTree::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QTreeWidgetItem* item = currentItem();
    if (enter && state() != EditingState && KindOf(item) == NodeKind::Beam &&
        ObjectOf(item) != nullptr) {
        emit BeamActivated(item);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace kova::gui
