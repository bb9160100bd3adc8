#include "gui/workbench_tree.h"

#include "gui/workbench_model.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>

namespace kova::gui {

WorkbenchTree::WorkbenchTree(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("WorkbenchTreeView"));
    setHeaderHidden(true);
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

void WorkbenchTree::reset() {
    QTreeView::reset();
    // A workbench just opened shows every patient, treatment and beam.
    for (int row = 0; model() != nullptr && row < model()->rowCount(); ++row) {
        ExpandRecords(model()->index(row, 0));
    }
}

void WorkbenchTree::rowsInserted(const QModelIndex& parent, int start, int end) {
    QTreeView::rowsInserted(parent, start, end);
    bool records = false;
    for (int row = start; row <= end; ++row) {
        const QModelIndex index = model()->index(row, 0, parent);
        records = records || IsRecord(WorkbenchModel::KindOf(index));
        ExpandRecords(index);
    }
    if (records && parent.isValid()) {
        expand(parent);
    }
}

void WorkbenchTree::ExpandRecords(const QModelIndex& index) {
    if (!IsRecord(WorkbenchModel::KindOf(index))) {
        return;
    }
    expand(index);
    for (int row = 0; row < model()->rowCount(index); ++row) {
        ExpandRecords(model()->index(row, 0, index));
    }
}

std::optional<WorkbenchTree::DropSpot> WorkbenchTree::DropSpotAt(const QPoint& position) const {
    const QModelIndex target = indexAt(position);
    if (!WorkbenchModel::MayDrop(currentIndex(), target)) {
        return std::nullopt;
    }
    const QRect row = visualRect(target);
    return DropSpot{target, position.y() < row.center().y() ? DropPlace::Before : DropPlace::After};
}

bool WorkbenchTree::DropAt(const DropSpot& spot, const QMimeData* data) {
    // The model counts the row the node goes before.
    const int row = spot.target.row() + (spot.place == DropPlace::After ? 1 : 0);
    return model()->dropMimeData(data, Qt::MoveAction, row, 0, spot.target.parent());
}

QLine WorkbenchTree::LineFor(const DropSpot& spot) const {
    const QRect row = visualRect(spot.target);
    if (spot.place == DropPlace::Before) {
        return {row.left(), row.top(), viewport()->width(), row.top()};
    }
    // After a node means after everything shown under it.
    QModelIndex last = spot.target;
    while (isExpanded(last) && model()->rowCount(last) > 0) {
        last = model()->index(model()->rowCount(last) - 1, 0, last);
    }
    const int bottom = visualRect(last).bottom() + 1;
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
    QTreeView::dragLeaveEvent(event);
}

void WorkbenchTree::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    SetDropLine({});
    const std::optional<DropSpot> spot =
        event->source() == this ? DropSpotAt(event->position().toPoint()) : std::nullopt;
    if (spot) {
        DropAt(*spot, event->mimeData());
    }
    // The model has moved the row already: the drag must not remove it as a moved row.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

void WorkbenchTree::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (!m_dropLine.isNull()) {
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawLine(m_dropLine);
    }
}

bool WorkbenchTree::Activates(const QModelIndex& index) {
    if (WorkbenchModel::KindOf(index) != NodeKind::Line) {
        return WorkbenchModel::KindOf(index) == NodeKind::Beam;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
        if (WorkbenchModel::KindOf(up) == NodeKind::Beam) {
            return true;
        }
    }
    return false;
}

void WorkbenchTree::EmitActivated(const QModelIndex& index) {
    if (WorkbenchModel::KindOf(index) == NodeKind::Beam) {
        emit BeamActivated(index);
    } else {
        emit ResultLineActivated(index);
    }
}

void WorkbenchTree::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPersistentModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && Activates(index)) {
        // The item view's own handling ends a rename the first click may have started; the
        // tree view's would also fold the node.
        QAbstractItemView::mouseDoubleClickEvent(event);
        setCurrentIndex(index);
        EmitActivated(index);
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void WorkbenchTree::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && Activates(currentIndex())) {
        EmitActivated(currentIndex());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace kova::gui
