#pragma once

#include "core/workbench/workbench.h"

#include <QTreeView>
#include <optional>

class QMimeData;

namespace kova::gui {

/// The view of the WorkbenchModel. A node moves only among its own siblings of the same kind,
/// to where the tree's own line shows; the model decides and moves it. A new patient,
/// treatment or beam shows its rows, and so does the node it went into.
class WorkbenchTree : public QTreeView {
    Q_OBJECT

public:
    explicit WorkbenchTree(QWidget* parent = nullptr);

    /// Where the current node would go if dropped at `position` (viewport coordinates):
    /// before the node under the pointer when in its upper half, else after it; none where
    /// it may not be dropped.
    struct DropSpot {
        QModelIndex target;
        DropPlace place = DropPlace::Before;
    };
    std::optional<DropSpot> DropSpotAt(const QPoint& position) const;
    /// Drops the row that `data` carries (the model's MIME data of a dragged row) at `spot`,
    /// through the model; true when it moved.
    bool DropAt(const DropSpot& spot, const QMimeData* data);

    /// True while a caption is being edited in place.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    void reset() override;

signals:
    /// A beam node was double-clicked, or Enter was pressed on it.
    void BeamActivated(const QModelIndex& beam);
    /// A result line of a beam was double-clicked, or Enter was pressed on it.
    void ResultLineActivated(const QModelIndex& line);

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
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
    /// Expands `index` when it is a patient, treatment or beam, and the records below it.
    void ExpandRecords(const QModelIndex& index);
    /// True for a beam and for a result line under one: what double-click and Enter act on.
    static bool Activates(const QModelIndex& index);
    void EmitActivated(const QModelIndex& index);

    QLine m_dropLine;
};

} // namespace kova::gui
