#include "gui/print_command.h"

#include "core/report/print_pages.h"
#include "core/workbench/workbench.h"
#include "gui/dialogs.h"
#include "gui/print_job.h"
#include "gui/print_report_dialog.h"
#include "gui/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kova::gui {
namespace {

/// The PDF file to write, asked for with a name made from the patient and the day; empty
/// when the user cancels.
QString AskPdfFile(QWidget* parent, const Patient* patient, const Date& day, QString& folder) {
    const std::string name = report::PdfFileName(patient != nullptr ? patient->name : "", day);
    const QString start = folder.isEmpty() ? QDir::homePath() : folder;
    QString file = Dialogs::SaveFileName(
        parent, QCoreApplication::translate("kova::gui::PrintCommand", "Print to PDF file"),
        QDir(start).filePath(QString::fromStdString(name)),
        QCoreApplication::translate("kova::gui::PrintCommand", "PDF files (*.pdf)"));
    if (file.isEmpty()) {
        return file;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    folder = QFileInfo(file).absolutePath();
    return file;
}

} // namespace

QString RunPrintCommand(QWidget* parent, PrintReportDialog& dialog, const Patient* patient,
                        const PrintSetting& setting) {
    const bool withTreatments = patient != nullptr && !patient->treatments.empty();
    std::optional<PrintChoice> choice =
        dialog.Ask(withTreatments, DefaultPrinterName(), CheckPrintTarget);
    if (!choice) {
        return QCoreApplication::translate("kova::gui::PrintCommand", "Nothing printed.");
    }
    report::PageTexts texts;
    texts.titleLine = setting.titleLine;
    texts.printDay = SystemToday();
    report::ReadBanners(PathFromQ(setting.bannerFolder), texts);
    if (choice->target.ToPdf()) {
        choice->target.pdfFile = AskPdfFile(parent, patient, texts.printDay, *setting.pdfFolder);
        if (choice->target.pdfFile.isEmpty()) {
            return QCoreApplication::translate("kova::gui::PrintCommand", "Nothing printed.");
        }
    }
    const Status printed =
        PrintToTarget(choice->target, withTreatments ? patient : nullptr, choice->options, texts);
    if (!printed) {
        Dialogs::ShowError(parent, QString::fromStdString(printed.reason()));
        return QCoreApplication::translate("kova::gui::PrintCommand", "Printing failed.");
    }
    if (choice->target.ToPdf()) {
        return QCoreApplication::translate("kova::gui::PrintCommand", "Printed to %1")
            .arg(QDir::toNativeSeparators(choice->target.pdfFile));
    }
    return QCoreApplication::translate("kova::gui::PrintCommand", "Sent to the printer %1")
        .arg(choice->target.printerName);
}

} // namespace kova::gui
