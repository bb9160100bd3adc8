#pragma once

// How the GUI tests reach the rows of the workbench tree: by model index, as the tree shows
// them. A Row stays the same row while rows are added, moved or removed around it.

#include "gui/workbench_tree.h"

#include <QAbstractItemModel>
#include <QMimeData>
#include <QModelIndexList>
#include <QPersistentModelIndex>
#include <QStringList>
#include <memory>

namespace kova::guitest {

using Row = QPersistentModelIndex;

inline QString Text(const QModelIndex& row) {
    return row.data().toString();
}

inline int ChildCount(const QModelIndex& row) {
    return row.model()->rowCount(row);
}

inline QModelIndex Child(const QModelIndex& row, int n) {
    return row.model()->index(n, 0, row);
}

inline QModelIndex LastChild(const QModelIndex& row) {
    return Child(row, ChildCount(row) - 1);
}

inline QStringList Children(const QModelIndex& row) {
    QStringList texts;
    for (int i = 0; row.isValid() && i < ChildCount(row); ++i) {
        texts << Text(Child(row, i));
    }
    return texts;
}

/// The patients' rows.
inline int TopCount(const gui::WorkbenchTree* tree) {
    return tree->model()->rowCount();
}

inline QModelIndex Top(const gui::WorkbenchTree* tree, int n) {
    return tree->model()->index(n, 0);
}

inline QStringList Roots(const gui::WorkbenchTree* tree) {
    QStringList texts;
    for (int i = 0; i < TopCount(tree); ++i) {
        texts << Text(Top(tree, i));
    }
    return texts;
}

/// Every row of the tree, parents first.
inline QModelIndexList AllRows(const gui::WorkbenchTree* tree) {
    QModelIndexList rows;
    for (int i = 0; i < TopCount(tree); ++i) {
        rows << Top(tree, i);
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (int c = 0; c < ChildCount(rows[i]); ++c) {
            rows << Child(rows[i], c);
        }
    }
    return rows;
}

inline int Level(const QModelIndex& row) {
    int level = 0;
    for (QModelIndex up = row.parent(); up.isValid(); up = up.parent()) {
        ++level;
    }
    return level;
}

/// Renames the row as an edit in place ends.
inline void Rename(gui::WorkbenchTree* tree, const QModelIndex& row, const QString& text) {
    tree->model()->setData(row, text);
}

/// Drops `dragged` at `spot` as a drag from the tree itself would.
inline bool Drop(gui::WorkbenchTree* tree, const QModelIndex& dragged,
                 const gui::WorkbenchTree::DropSpot& spot) {
    const std::unique_ptr<QMimeData> data(tree->model()->mimeData({dragged}));
    return tree->DropAt(spot, data.get());
}

} // namespace kova::guitest
