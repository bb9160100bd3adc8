#pragma once

// The rows the workbench model keeps; only the model's own files include this.

#include "gui/workbench_model.h"

#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

namespace kova::gui {

/// A row: a patient, treatment or beam of the core, or a line the core computed for one.
struct WorkbenchNode {
    NodeKind kind = NodeKind::Line;
    WorkbenchNode* parent = nullptr;
    Patient* patient = nullptr;      ///< a patient's row
    TTreatment* treatment = nullptr; ///< a treatment's row
    TBeam* beam = nullptr;           ///< a beam's row
    QString text;                    ///< a line's text
    int image = -1;                  ///< a line's image index; -1 for none
    std::vector<std::unique_ptr<WorkbenchNode>> children;
};

/// A row for a record of the core and its rows below, as the model shows them.
std::unique_ptr<WorkbenchNode> PatientRow(Patient& patient, WorkbenchNode* parent,
                                          const ActionLevels& levels);
std::unique_ptr<WorkbenchNode> TreatmentRow(TTreatment& treatment, WorkbenchNode* parent,
                                            const ActionLevels& levels);
std::unique_ptr<WorkbenchNode> BeamRow(TBeam& beam, WorkbenchNode* parent,
                                       const ActionLevels& levels);
/// Every row of `kind` (a patient, treatment or beam) in tree order.
std::vector<WorkbenchNode*> RecordsOf(const WorkbenchNode* root, NodeKind kind);

/// The rows of one kind under a parent, which follow one another: a treatment's information
/// lines first, then its beams.
struct KindRows {
    int first = 0;
    int end = 0; ///< one past the last
};

inline KindRows RowsOf(const WorkbenchNode* parent, NodeKind kind) {
    const auto& rows = parent->children;
    const auto isKind = [kind](const auto& row) { return row->kind == kind; };
    const auto first = std::find_if(rows.begin(), rows.end(), isKind);
    if (first == rows.end()) {
        return {};
    }
    const auto last = std::find_if(rows.rbegin(), rows.rend(), isKind);
    return {static_cast<int>(first - rows.begin()), static_cast<int>(rows.rend() - last)};
}

} // namespace kova::gui
