#pragma once

#include <QTreeWidget>

namespace kova::gui {

/// What a node of the workbench tree stands for.
enum class NodeKind { Patient = 0, Treatment = 1, Beam = 2, Line = -1 };

/// The workbench tree: nodes carry their kind and object; only nodes with an object can be
/// renamed or moved, and a node moves only among its own siblings of the same kind.
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

    /// True while a caption is being edited in place.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    /// A node was dropped: `target` is the node under the mouse, `dragged` the selected one.
    void NodeDropped(QTreeWidgetItem* target, QTreeWidgetItem* dragged);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace kova::gui
