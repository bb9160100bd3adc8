#pragma once

#include "core/workbench/workbench.h"

#include <QTreeWidget>
#include <optional>

namespace kova::gui {

/// What a node of the workbench tree stands for.
enum class NodeKind { Patient = 0, Treatment = 1, Beam = 2, Line = -1 };

/// The workbench tree: nodes carry their kind and object; only nodes with an object can be
/// renamed or moved, and a node moves only among its own siblings of the same kind, to where
/// the drop indicator's line shows.
class WorkbenchTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit WorkbenchTree(QWidget* parent = nullptr);

    /// Makes `item` stand for `object` of `kind` (its image follows the kind).
    static void SetObject(QTreeWidgetItem* item, NodeKind kind, void* object);
    static NodeKind KindOf(const QTreeWidgetItem* item);
    static void* ObjectOf(const QTreeWidgetItem* item);
    static int LevelOf(const QTreeWidgetItem* item);

    /// True when `dragged` may be dropped on `target`: both carry an object, are not
    /// patients, and are siblings of the same kind.
    static bool DropAllowed(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target);

    /// Where the selected node would go if dropped at `position` (viewport coordinates):
    /// before the node under the pointer when in its upper half, else after it; none where
    /// it may not be dropped.
    struct DropSpot {
        QTreeWidgetItem* target = nullptr;
        DropPlace place = DropPlace::Before;
    };
    std::optional<DropSpot> DropSpotAt(const QPoint& position) const;
    /// The line the drop indicator shows now (viewport coordinates); null when none.
    QLine dropLine() const { return m_dropLine; }

    /// True while a caption is being edited in place.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    /// A node was dropped: `dragged` (the selected one) goes before or after `target`.
    void NodeDropped(QTreeWidgetItem* target, QTreeWidgetItem* dragged, DropPlace place);
    /// A beam node was double-clicked, or Enter was pressed on it.
    void BeamActivated(QTreeWidgetItem* beam);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLine LineFor(const DropSpot& spot) const;
    void SetDropLine(const QLine& line);

    QLine m_dropLine;
};

} // namespace kova::gui
