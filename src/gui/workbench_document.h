#pragma once

#include "core/linac/linac_spec.h"
#include "core/workbench/workbench_file.h"

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QUndoStack;
class QWidget;

namespace kova::gui {

/// The file the workbench is kept in: where it was last saved or opened from, whether the
/// workbench changed since, and the File commands that write and read it. The file is a beam
/// file, the one kova-mu reads. Writing goes through a temporary file renamed into place, so
/// a failed save leaves the previous file as it was. The workbench differs from its file when
/// the undo stack is away from the state saved or opened (an undo back to it clears the
/// mark), or when a change that no undo can take back was made since.
class WorkbenchDocument {
    Q_DECLARE_TR_FUNCTIONS(kova::gui::WorkbenchDocument)

public:
    WorkbenchDocument(QWidget* parent, const Workbench& workbench);

    /// The stack whose clean state is the file's (the model's undo stack).
    void SetUndoStack(QUndoStack* stack) { m_undo = stack; }
    bool modified() const;
    /// The workbench changed since it was last saved or opened, in a way the undo stack does
    /// not take back (or the stack lost its history).
    void SetModified() { m_modified = true; }
    /// The file of the last Save or Open; empty when there is none.
    const QString& filePath() const { return m_filePath; }
    /// A line for the status bar about the last command.
    const QString& status() const { return m_status; }

    /// Writes the workbench to its file, or asks for one first; false when cancelled or
    /// when writing failed (the error box says why).
    bool Save();
    /// Asks for a file, then writes the workbench to it.
    bool SaveAs();
    /// With unsaved changes asks Save / Discard / Cancel: true when the work may go (saved
    /// or discarded), false to keep it.
    bool MayDiscardChanges();

    /// Asks for a file and reads it on `linacs`; none when cancelled or unreadable (the
    /// error box says why). The caller puts the result in place of the workbench and then
    /// calls Opened.
    std::optional<WorkbenchFile> Open(const std::vector<std::unique_ptr<TLinacSpec>>& linacs);
    /// After Open: lists the beams that were refused in one message. The file is then no
    /// longer the one Save writes to, so that a Save does not drop them from it unasked.
    void Opened(const WorkbenchFile& file);

private:
    /// True (and the user told) when the workbench holds no beam: a file keeps only beams.
    bool NothingToSave();
    bool WriteTo(const QString& path);
    QString SuggestedPath() const;

    QWidget* m_parent = nullptr;
    const Workbench& m_workbench;
    QString m_filePath;
    QString m_openedPath; ///< the file being opened, until Opened
    QString m_folder;     ///< the folder of the last file chosen
    QString m_status;
    QUndoStack* m_undo = nullptr;
    bool m_modified = false; ///< changed beyond what the undo stack knows
};

} // namespace kova::gui
