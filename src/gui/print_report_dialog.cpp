#include "gui/print_report_dialog.h"

#include "gui/dialog_parts.h"
#include "gui/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kova::gui {
namespace {

const char* const kForms[] = {
    QT_TRANSLATE_NOOP("kova::gui::PrintReportDialog", "Dosimetry report page"),
    QT_TRANSLATE_NOOP("kova::gui::PrintReportDialog", "Treatment summary page"),
    QT_TRANSLATE_NOOP("kova::gui::PrintReportDialog", "Both of them, please"),
    QT_TRANSLATE_NOOP("kova::gui::PrintReportDialog", "Just an empty treatment summary page")};

QRadioButton* Radio(const QString& text, const QString& name, QLayout* layout) {
    auto* button = new QRadioButton(text);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

} // namespace

PrintReportDialog::PrintReportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TPrintReportDlg"));
    setWindowTitle(tr("KOVA Print Options"));
    ReasonLine = NewReasonLine();
    auto* buttons = NewOkCancelBox(this, QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    OKBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildForms());
    layout->addWidget(BuildSheetOptions());
    layout->addWidget(BuildDestination());
    layout->addWidget(ReasonLine);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintReportDialog::OKClick);
}

QWidget* PrintReportDialog::BuildForms() {
    // The two radio groups share one place; only one of them is shown at a time.
    auto* place = new QWidget;
    auto* stack = new QVBoxLayout(place);
    stack->setContentsMargins(0, 0, 0, 0);
    ReportToPrint = new QGroupBox(tr("Forms to print:"));
    ReportToPrint->setObjectName(QStringLiteral("ReportToPrint"));
    auto* items = new QVBoxLayout(ReportToPrint);
    for (std::size_t i = 0; i < ReportToPrintItems.size(); ++i) {
        ReportToPrintItems[i] =
            Radio(tr(kForms[i]), u"ReportToPrintItem" + QString::number(i), items);
    }
    ReportToPrintItems[2]->setChecked(true);
    EmptyReportToPrint = new QGroupBox(tr("Forms to print:"));
    EmptyReportToPrint->setObjectName(QStringLiteral("EmptyReportToPrint"));
    auto* empty = new QVBoxLayout(EmptyReportToPrint);
    EmptyReportToPrintItem = Radio(tr(kForms[3]), QStringLiteral("EmptyReportToPrintItem"), empty);
    EmptyReportToPrintItem->setChecked(true);
    empty->addStretch();
    stack->addWidget(ReportToPrint);
    stack->addWidget(EmptyReportToPrint);
    return place;
}

QWidget* PrintReportDialog::BuildSheetOptions() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    CheckBoxForm = new QCheckBox(tr("Include patient positioning form"));
    CheckBoxForm->setObjectName(QStringLiteral("CheckBoxForm"));
    CheckBoxForm->setChecked(true);
    CheckBoxText = new QCheckBox(tr("Include comment"));
    CheckBoxText->setObjectName(QStringLiteral("CheckBoxText"));
    CheckBoxText->setChecked(true);
    // The comment is printed on the set-up sheet, whose texts stay as they are.
    MemoComment = new QPlainTextEdit(QStringLiteral("SSD = \nSHIFT = "));
    MemoComment->setObjectName(QStringLiteral("MemoComment"));
    MemoComment->setTabChangesFocus(true);
    layout->addWidget(CheckBoxForm);
    layout->addWidget(CheckBoxText);
    layout->addWidget(MemoComment);
    return panel;
}

QWidget* PrintReportDialog::BuildDestination() {
    PrintTo = new QGroupBox(tr("Print to:"));
    PrintTo->setObjectName(QStringLiteral("PrintTo"));
    auto* layout = new QVBoxLayout(PrintTo);
    ToPrinter = Radio(tr("Printer"), QStringLiteral("ToPrinter"), layout);
    auto* pdf = new QHBoxLayout;
    ToPdf = Radio(tr("PDF file, page size"), QStringLiteral("ToPdf"), pdf);
    PdfPageSize = new QComboBox;
    PdfPageSize->setObjectName(QStringLiteral("PdfPageSize"));
    PdfPageSize->addItem(tr("A4"), QVariant::fromValue(int(QPageSize::A4)));
    PdfPageSize->addItem(tr("Letter"), QVariant::fromValue(int(QPageSize::Letter)));
    if (QLocale::system().measurementSystem() == QLocale::ImperialUSSystem) {
        PdfPageSize->setCurrentIndex(1);
    }
    pdf->addWidget(PdfPageSize);
    pdf->addStretch();
    layout->addLayout(pdf);
    ToPrinter->setChecked(true);
    return PrintTo;
}

std::optional<PrintChoice> PrintReportDialog::Ask(bool withTreatments, const QString& printer,
                                                  Check check) {
    m_withTreatments = withTreatments;
    m_printer = printer;
    m_check = std::move(check);
    ReportToPrint->setVisible(withTreatments);
    EmptyReportToPrint->setVisible(!withTreatments);
    ReportToPrintItems[2]->setChecked(true);
    ToPrinter->setText(printer.isEmpty() ? tr("Printer: none available")
                                         : tr("Printer: %1").arg(printer));
    ToPrinter->setEnabled(!printer.isEmpty());
    if (printer.isEmpty()) {
        ToPdf->setChecked(true);
    }
    ReasonLine->clear();
    if (Dialogs::Exec(*this) != QDialog::Accepted) {
        return std::nullopt;
    }
    return PrintChoice{Options(), Target()};
}

report::PrintOptions PrintReportDialog::Options() const {
    report::PrintOptions options;
    report::FormsToPrint forms = report::FormsToPrint::EmptySummary;
    for (std::size_t i = 0; m_withTreatments && i < ReportToPrintItems.size(); ++i) {
        if (ReportToPrintItems[i]->isChecked()) {
            forms = static_cast<report::FormsToPrint>(i);
        }
    }
    report::ChooseForms(options, forms);
    options.form = CheckBoxForm->isChecked();
    options.comment = CheckBoxText->isChecked();
    options.commentLines = report::CommentLines(MemoComment->toPlainText().toStdString());
    return options;
}

PrintTarget PrintReportDialog::Target() const {
    PrintTarget target;
    if (ToPrinter->isChecked() && !m_printer.isEmpty()) {
        target.printerName = m_printer;
    }
    target.pdfPageSize = static_cast<QPageSize::PageSizeId>(PdfPageSize->currentData().toInt());
    return target;
}

void PrintReportDialog::OKClick() {
    if (m_check) {
        if (const Status status = m_check(Target(), Options()); !status) {
            ReasonLine->setText(QString::fromStdString(status.reason()));
            return;
        }
    }
    accept();
}

} // namespace kova::gui
