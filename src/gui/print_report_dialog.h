#pragma once

#include "core/common/result.h"
#include "core/report/print_pages.h"
#include "gui/print_job.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kova::gui {

/// What the print options dialog chose.
struct PrintChoice {
    report::PrintOptions options;
    PrintTarget target; ///< without the PDF file's name, which is asked for afterwards
};

/// The print options ("KOVA Print Options"): which forms to print, whether the set-up
/// sheet carries the positioning form and the comment, and where the pages go. Made once
/// with the main window, it keeps its check boxes, comment and destination between uses.
class PrintReportDialog : public QDialog {
    Q_OBJECT

public:
    /// Refuses a choice that cannot be printed, with the reason.
    using Check = std::function<Status(const PrintTarget&, const report::PrintOptions&)>;

    explicit PrintReportDialog(QWidget* parent = nullptr);

    /// Shows the dialog: all four forms for a patient with treatments, otherwise only the
    /// empty set-up sheet. `printer` is the default printer (empty when there is none: the
    /// pages then go to a PDF file). None when the dialog is cancelled.
    std::optional<PrintChoice> Ask(bool withTreatments, const QString& printer, Check check);

    QGroupBox* ReportToPrint = nullptr;
    std::array<QRadioButton*, 4> ReportToPrintItems{};
    QGroupBox* EmptyReportToPrint = nullptr;
    QRadioButton* EmptyReportToPrintItem = nullptr;
    QCheckBox* CheckBoxForm = nullptr;
    QCheckBox* CheckBoxText = nullptr;
    QPlainTextEdit* MemoComment = nullptr;
    QGroupBox* PrintTo = nullptr;
    QRadioButton* ToPrinter = nullptr;
    QRadioButton* ToPdf = nullptr;
    QComboBox* PdfPageSize = nullptr;
    QLabel* ReasonLine = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

public slots:
    void OKClick();

private:
    QWidget* BuildForms();
    QWidget* BuildSheetOptions();
    QWidget* BuildDestination();
    report::PrintOptions Options() const;
    PrintTarget Target() const;

    bool m_withTreatments = false;
    QString m_printer;
    Check m_check;
};

} // namespace kova::gui
