#pragma once

#include <QString>
#include <string>

class QWidget;

namespace kova {
struct Patient;
}

namespace kova::gui {

class PrintReportDialog;

/// What the print command needs besides the patient.
struct PrintSetting {
    std::string titleLine; ///< the program's title line, printed on both pages
    QString bannerFolder;  ///< where "MyBanner1.txt" and "MyBanner2.txt" are
    QString* pdfFolder;    ///< the folder last used for a PDF file, kept by the caller
};

/// The "Print..." command for `patient` (null when no patient is selected): the print
/// options, then a PDF file's name when the pages go to one, then the job. Cancel in either
/// dialog prints nothing; a failed job is reported in the error box. Returns a line for the
/// status bar.
QString RunPrintCommand(QWidget* parent, PrintReportDialog& dialog, const Patient* patient,
                        const PrintSetting& setting);

} // namespace kova::gui
