#pragma once

#include "core/linac/linac_spec.h"
#include "core/workbench/workbench_file.h"

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace kova::gui {

/// The file the workbench is kept in: where it was last saved or opened from, whether the
/// workbench changed since, and the File commands that write and read it. The file is a beam
/// file, the one kova-mu reads. Writing goes through a temporary file renamed into place, so
/// a failed save leaves the previous file as it was.
class WorkbenchDocument {
    Q_DECLARE_TR_FUNCTIONS(kova::gui::WorkbenchDocument)

public:
    WorkbenchDocument(QWidget* parent, const Workbench& workbench);

    bool modified() const { return m_modified; }
    /// The workbench changed since it was last saved or opened.
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
    bool WriteTo(const QString& path);
    QString SuggestedPath() const;

    QWidget* m_parent = nullptr;
    const Workbench& m_workbench;
    QString m_filePath;
    QString m_openedPath; ///< the file being opened, until Opened
    QString m_folder;     ///< the folder of the last file chosen
    QString m_status;
    bool m_modified = false;
};

} // namespace kova::gui
