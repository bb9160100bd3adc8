// Printing as the user does it: the print options dialog, the save dialog and the job, to
// real PDF files read back with pdftotext (-layout for the text, -bbox for where each word
// landed).

#include "core/report/print_pages.h"
#include "core/text/date_text.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/main_window.h"
#include "gui/print_job.h"
#include "gui/print_report_dialog.h"
#include "gui/workbench_rows.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"
#include "support/report_patient.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <cmath>
#include <tuple>

using kova::gui::Dialogs;
using kova::gui::MainWindow;
using kova::gui::PrintReportDialog;
using namespace kova::guitest;

namespace {

/// One word of a page as pdftotext found it, in points from the page's top-left corner.
struct Word {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct PdfText {
    QStringList pages; ///< pdftotext -layout, one text per page
    QList<Word> words;
    double width = 0, height = 0;
};

QString Run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KOVA_PDFTOTEXT), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("pdftotext failed: %s", process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

PdfText ReadPdf(const QString& file) {
    PdfText pdf;
    pdf.pages = Run({QStringLiteral("-layout"), file, QStringLiteral("-")}).split(u'\f');
    if (!pdf.pages.isEmpty() && pdf.pages.last().trimmed().isEmpty()) {
        pdf.pages.removeLast();
    }
    const QString html = Run({QStringLiteral("-bbox"), file, QStringLiteral("-")});
    static const QRegularExpression page(
        QString::fromLatin1(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    static const QRegularExpression word(QString::fromLatin1(
        R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">)re"
        R"re(([^<]*)</word>)re"));
    int pageNumber = 0;
    for (const QString& chunk : html.split(QStringLiteral("<page "))) {
        const auto size = page.match(u"<page " + chunk);
        if (!size.hasMatch()) {
            continue;
        }
        ++pageNumber;
        pdf.width = size.captured(1).toDouble();
        pdf.height = size.captured(2).toDouble();
        for (auto it = word.globalMatch(chunk); it.hasNext();) {
            const auto m = it.next();
            pdf.words.append(Word{pageNumber, m.captured(1).toDouble(), m.captured(2).toDouble(),
                                  m.captured(3).toDouble(), m.captured(4).toDouble(),
                                  m.captured(5)});
        }
    }
    return pdf;
}

/// Every pair of words whose boxes overlap (by more than `slack` points each way), and
/// every word that crosses the page's edges.
QStringList Collisions(const PdfText& pdf, double slack) {
    QStringList found;
    for (qsizetype i = 0; i < pdf.words.size(); ++i) {
        const Word& a = pdf.words[i];
        if (a.xMin < 0 || a.yMin < 0 || a.xMax > pdf.width || a.yMax > pdf.height) {
            found << u"off the page: " + a.text;
        }
        for (qsizetype j = i + 1; j < pdf.words.size(); ++j) {
            const Word& b = pdf.words[j];
            if (a.page == b.page && a.xMin + slack < b.xMax && b.xMin + slack < a.xMax &&
                a.yMin + slack < b.yMax && b.yMin + slack < a.yMax) {
                found << a.text + u" / " + b.text + u" on page " + QString::number(a.page);
            }
        }
    }
    return found;
}

/// Where words may go on a PDF page printed by the program: inside the 5 mm the PDF leaves
/// as a printer would, and inside the report's margins (xL = width / 27 of that area).
struct Area {
    double left, right, bottom;
};

Area TextArea(const PdfText& pdf) {
    const double margin = 5 / 25.4 * 72;
    const auto deviceWidth = static_cast<int>((pdf.width - 2 * margin) / 72 * 600);
    const double xL = (deviceWidth / 27) * 72.0 / 600;
    return Area{margin + xL, pdf.width - margin - xL, pdf.height - margin};
}

/// The words of a page, or of every page.
QStringList Words(const PdfText& pdf, int page = 0) {
    QStringList words;
    for (const Word& word : pdf.words) {
        if (page == 0 || word.page == page) {
            words << word.text;
        }
    }
    return words;
}

/// Answers every dialog with `answer` until the object goes.
class DialogAnswer {
public:
    explicit DialogAnswer(Dialogs::ExecHook answer) { Dialogs::SetExecHook(std::move(answer)); }
    ~DialogAnswer() { Dialogs::SetExecHook({}); }
};

/// Answers every save dialog: records the suggested path and returns `file`.
class SaveAnswer {
public:
    explicit SaveAnswer(QString file) {
        Dialogs::SetSaveFileHook([this, file](const QString& suggested) {
            this->suggested << suggested;
            return file;
        });
    }
    ~SaveAnswer() { Dialogs::SetSaveFileHook({}); }
    QStringList suggested;
};

void Type(QDialog& dialog, const char* edit, const char* text) {
    auto* line = dialog.findChild<QLineEdit*>(QString::fromLatin1(edit));
    QVERIFY2(line != nullptr, edit);
    line->setText(QString::fromLatin1(text));
}

/// A fixed-SSD 10 x 10 photon beam of `dose` cGy at 10 cm: MU = dose / 0.67.
int FixedSsdBeam(QDialog& dialog, const char* dose) {
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
        if (button->text().startsWith(QStringLiteral("Not"))) {
            button->click();
        }
    }
    Type(dialog, "BeamDose", dose);
    Type(dialog, "BeamDepth", "10");
    Type(dialog, "BeamSSD", "100");
    Type(dialog, "BeamWidth", "10");
    Type(dialog, "BeamHeight", "10");
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    return dialog.result();
}

/// Clicks OK in the print options with item `forms` (none: leave the selection).
int ChooseAndOk(QDialog& dialog, int forms = -1) {
    auto& options = dynamic_cast<PrintReportDialog&>(dialog);
    if (forms >= 0) {
        options.ReportToPrintItems[static_cast<std::size_t>(forms)]->setChecked(true);
    }
    QTest::mouseClick(options.OKBtn, Qt::LeftButton);
    return options.result();
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private:
    kova::test::TempDir m_linacs;
    kova::ProgramInfo m_info{"KOVA X", "1.2.3"};

    /// Patient `name` with one treatment "Pelvis" of three beams of 60 cGy (MU 89.55 each,
    /// 90 on the set-up sheet at 1 cGy/MU) and one treatment "Boost" of one beam of 50 cGy.
    Row AddPatient(MainWindow& window, const QString& name) {
        window.ScanLinacs();
        window.NewPatientClick();
        const Row patient = window.WorkbenchTreeView->currentIndex();
        Rename(window.WorkbenchTreeView, patient, name);
        for (const auto& [treatmentName, beams, dose] :
             {std::tuple{"Pelvis", 3, "60"}, std::tuple{"Boost", 1, "50"}}) {
            window.WorkbenchTreeView->setCurrentIndex(patient);
            {
                DialogAnswer ok([](QDialog& dialog) {
                    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OK")),
                                      Qt::LeftButton);
                    return dialog.result();
                });
                window.NewTreatmentClick();
            }
            const Row treatment = LastChild(patient);
            Rename(window.WorkbenchTreeView, treatment, QString::fromLatin1(treatmentName));
            DialogAnswer beam(
                [dose = dose](QDialog& dialog) { return FixedSsdBeam(dialog, dose); });
            for (int i = 0; i < beams; ++i) {
                window.WorkbenchTreeView->setCurrentIndex(treatment);
                window.NewBeamClick();
            }
        }
        window.WorkbenchTreeView->setCurrentIndex(patient);
        return patient;
    }

private slots:
    void initTestCase() {
        kova::test::LinacText linac;
        linac.Name = "Sala1";
        kova::test::WriteLncFile(m_linacs.Path(), "sala1.lnc", linac.Text());
    }

    void twelveBeamsOnA4AndLetter_data() {
        QTest::addColumn<int>("pageSize");
        QTest::newRow("A4") << int(QPageSize::A4);
        QTest::newRow("Letter") << int(QPageSize::Letter);
    }

    /// Every beam's column and row, no word over another or outside the margins.
    void twelveBeamsOnA4AndLetter() {
        QFETCH(int, pageSize);
        kova::test::ReportPatient p;
        kova::TTreatment& pelvis = p.AddTreatment("Pelvis");
        kova::TTreatment& boost = p.AddTreatment("Boost");
        for (int i = 0; i < 12; ++i) {
            p.AddBeam(i < 8 ? pelvis : boost, "Beam" + std::to_string(i + 1), 100 + 10 * i,
                      "ID-" + std::to_string(1000 + i));
        }
        kova::test::TempDir dir;
        kova::gui::PrintTarget target;
        target.pdfFile = QString::fromStdString(dir.File("twelve.pdf").string());
        target.pdfPageSize = static_cast<QPageSize::PageSizeId>(pageSize);
        kova::report::PrintOptions options;
        kova::report::ChooseForms(options, kova::report::FormsToPrint::Both);
        options.commentLines = {"SSD = 92", "SHIFT = 1.5"};
        kova::report::PageTexts texts;
        texts.titleLine = "KOVA X v. 1.2.3";
        texts.printDay = kova::Date{2026, 6, 15};
        texts.reportBanner = {"Ospedale Civile", "Fisica Sanitaria"};
        texts.sheetBanner = texts.reportBanner;
        const kova::Status printed = kova::gui::PrintToTarget(target, &p.patient, options, texts);
        QVERIFY2(printed.ok(), printed.reason().c_str());

        const PdfText pdf = ReadPdf(target.pdfFile);
        QCOMPARE(pdf.pages.size(), 4); // two report pages, two sheets
        QVERIFY(pdf.pages[0].contains(QStringLiteral("Dosimetric Details Report")));
        QVERIFY(pdf.pages[2].contains(QStringLiteral("Nome Paziente")));
        const QStringList all = Words(pdf);
        for (int i = 0; i < 12; ++i) {
            // Its column on a report page and its row on a sheet; its MU in both (whole MU on
            // the sheet at 1 cGy/MU).
            const double mu = (100 + 10 * i) / 0.67;
            const QString name = u"Beam" + QString::number(i + 1);
            QCOMPARE(all.count(name), 2);
            QCOMPARE(all.count(QString::number(mu, 'f', 2)), 1);
            QVERIFY2(all.contains(QString::number(std::floor(mu + 0.5), 'f', 0)), qPrintable(name));
        }
        // Turned headers and the spanning doses are text: 8 x 100 + 280 = 1080 for Pelvis
        // (on both sheets), 4 x 100 + 340 = 780 for Boost.
        QCOMPARE(all.count(QStringLiteral("Lettino")), 4); // "Rot" and "Alt Lettino", 2 sheets
        QCOMPARE(all.count(QStringLiteral("Campo")), 4);
        QCOMPARE(all.count(QStringLiteral("[cGy]")), 2);
        QCOMPARE(all.count(QStringLiteral("1080")), 2);
        QCOMPARE(all.count(QStringLiteral("780")), 1);
        const QStringList collisions = Collisions(pdf, 0.5);
        QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(u'\n')));
        const Area area = TextArea(pdf);
        for (const Word& word : pdf.words) {
            QVERIFY2(word.xMin >= area.left - 0.5 && word.xMax <= area.right + 0.5 &&
                         word.yMax <= area.bottom + 0.5,
                     qPrintable(word.text + u" at " + QString::number(word.xMin) + u", " +
                                QString::number(word.xMax)));
        }
    }

    void emptySheetWithoutPatient() {
        kova::test::TempDir dir;
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        window.ScanLinacs();
        // The workbench's own menu (empty tree): only the empty sheet is offered.
        bool onlyEmpty = false;
        DialogAnswer answer([&onlyEmpty](QDialog& dialog) {
            auto& options = dynamic_cast<PrintReportDialog&>(dialog);
            onlyEmpty = options.ReportToPrint->isHidden() &&
                        !options.EmptyReportToPrint->isHidden() &&
                        options.EmptyReportToPrintItem->isChecked();
            return ChooseAndOk(dialog);
        });
        SaveAnswer save(QString::fromStdString(dir.File("empty.pdf").string()));
        window.WorkbenchPopupMenu->actions().last()->trigger();
        QVERIFY(onlyEmpty);
        QCOMPARE(save.suggested.size(), 1);
        QVERIFY2(save.suggested[0].endsWith(
                     QString::fromStdString(kova::report::PdfFileName("", kova::SystemToday()))),
                 qPrintable(save.suggested[0]));
        const PdfText pdf = ReadPdf(QString::fromStdString(dir.File("empty.pdf").string()));
        QCOMPARE(pdf.pages.size(), 1);
        QVERIFY(
            pdf.pages[0].contains(QStringLiteral("Nome Paziente ______________________________")));
        QVERIFY(pdf.pages[0].contains(QStringLiteral("ID Paziente ___________")));
        QVERIFY(pdf.pages[0].contains(QStringLiteral("SHIFT =")));
        QVERIFY(pdf.pages[0].contains(
            QString::fromStdString(kova::FormatLongDate(kova::SystemToday()))));
        QVERIFY(pdf.pages[0].contains(QStringLiteral("KOVA X v. 1.2.3")));
    }

    void formsChosenInTheDialog_data() {
        QTest::addColumn<int>("forms");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("report");
        QTest::addColumn<bool>("sheet");
        QTest::addColumn<bool>("patientData");
        QTest::newRow("report only") << 0 << 1 << true << false << true;
        QTest::newRow("summary only") << 1 << 1 << false << true << true;
        QTest::newRow("both") << 2 << 2 << true << true << true;
        QTest::newRow("empty summary") << 3 << 1 << false << true << false;
    }

    void formsChosenInTheDialog() {
        QFETCH(int, forms);
        QFETCH(int, pages);
        QFETCH(bool, report);
        QFETCH(bool, sheet);
        QFETCH(bool, patientData);
        kova::test::TempDir dir;
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        AddPatient(window, QStringLiteral("Rossi Mario"));
        bool openedOnBoth = false;
        DialogAnswer answer([&](QDialog& dialog) {
            auto& options = dynamic_cast<PrintReportDialog&>(dialog);
            openedOnBoth =
                options.ReportToPrintItems[2]->isChecked() && !options.ReportToPrint->isHidden();
            return ChooseAndOk(dialog, forms);
        });
        const QString file = QString::fromStdString(dir.File("forms.pdf").string());
        SaveAnswer save(file);
        window.PatientPopupMenu->actions().last()->trigger();
        QVERIFY(openedOnBoth);
        QVERIFY2(save.suggested.value(0).endsWith(QString::fromStdString(
                     kova::report::PdfFileName("Rossi Mario", kova::SystemToday()))),
                 qPrintable(save.suggested.value(0)));
        const PdfText pdf = ReadPdf(file);
        QCOMPARE(pdf.pages.size(), pages);
        QCOMPARE(pdf.pages[0].contains(QStringLiteral("Dosimetric Details Report")), report);
        QCOMPARE(pdf.pages.last().contains(QStringLiteral("Nome Paziente")), sheet);
        QCOMPARE(pdf.pages.last().contains(QStringLiteral("Rossi Mario")), patientData);
        const QStringList lastPage = Words(pdf, static_cast<int>(pdf.pages.size()));
        if (sheet && patientData) {
            // Three rows of 60 cGy under one spanning 180; the Boost's 50 in its own row.
            QCOMPARE(lastPage.count(QStringLiteral("90")), 3);
            QCOMPARE(lastPage.count(QStringLiteral("180")), 1);
            QCOMPARE(lastPage.count(QStringLiteral("Sal")), 4);
        }
        if (report) {
            QCOMPARE(Words(pdf, 1).count(QStringLiteral("89.55")), 3);
            QCOMPARE(Words(pdf, 1).count(QStringLiteral("74.63")), 1);
        }
        QCOMPARE(window.statusBar()->currentMessage(),
                 u"Printed to " + QDir::toNativeSeparators(file));
    }

    void cancelWritesNothing() {
        kova::test::TempDir dir;
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        AddPatient(window, QStringLiteral("Rossi Mario"));
        const QString file = QString::fromStdString(dir.File("cancelled.pdf").string());
        {
            // Cancel in the print options: no save dialog, no file.
            DialogAnswer cancel([](QDialog& dialog) {
                QTest::mouseClick(dynamic_cast<PrintReportDialog&>(dialog).CancelBtn,
                                  Qt::LeftButton);
                return dialog.result();
            });
            SaveAnswer save(file);
            window.PrintPatientClick();
            QVERIFY(save.suggested.isEmpty());
        }
        {
            // Cancel in the save dialog.
            DialogAnswer ok([](QDialog& dialog) { return ChooseAndOk(dialog); });
            SaveAnswer save(QString{});
            Dialogs::ClearShownMessages();
            window.PrintPatientClick();
            QCOMPARE(save.suggested.size(), 1);
            QVERIFY(Dialogs::ShownMessages().isEmpty());
        }
        QVERIFY(QDir(QString::fromStdString(dir.Path().string())).isEmpty());
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Nothing printed."));
    }

    void failedJobIsReported_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0: none
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder")
            << QStringLiteral("no such folder/x.pdf") << 0
            << QStringLiteral("Nothing was printed: could not start the PDF file");
        // A full disk without root or a mount: a write past 4 KiB fails with EFBIG.
        QTest::newRow("full disk") << QStringLiteral("x.pdf") << 4096
                                   << QStringLiteral("The pages could not be written to the PDF "
                                                     "file");
    }

    void failedJobIsReported() {
        QFETCH(QString, name);
        QFETCH(int, sizeLimit);
        QFETCH(QString, message);
        kova::test::TempDir dir;
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        AddPatient(window, QStringLiteral("Rossi Mario"));
        DialogAnswer ok([](QDialog& dialog) { return ChooseAndOk(dialog); });
        const QString file = QString::fromStdString(dir.File(name.toStdString()).string());
        const QByteArray earlier("an earlier report");
        {
            QFile previous(file);
            if (previous.open(QIODevice::WriteOnly)) {
                previous.write(earlier);
            }
        }
        SaveAnswer save(file);
        Dialogs::ClearShownMessages();
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
        {
            const kova::test::FileSizeLimit limit(static_cast<unsigned long>(sizeLimit));
            window.PrintPatientClick();
        }
        QCOMPARE(Dialogs::ShownMessages().size(), 1);
        QVERIFY2(Dialogs::ShownMessages()[0].startsWith(message),
                 qPrintable(Dialogs::ShownMessages()[0]));
        if (sizeLimit == 0) {
            QVERIFY(!QFile::exists(file));
        } else {
            // The earlier file byte for byte, and no temporary file beside it.
            QFile previous(file);
            QVERIFY(previous.open(QIODevice::ReadOnly));
            QCOMPARE(previous.readAll(), earlier);
            QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files),
                     QStringList{QStringLiteral("x.pdf")});
        }
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Printing failed."));
    }

    void dialogKeepsItsChoicesAndRefusesALongComment() {
        kova::test::TempDir dir;
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        AddPatient(window, QStringLiteral("Rossi Mario"));
        PrintReportDialog* made = window.printReportDialog();
        QString refusal;
        {
            DialogAnswer answer([&](QDialog& dialog) {
                auto& options = dynamic_cast<PrintReportDialog&>(dialog);
                options.ToPdf->setChecked(true);
                options.PdfPageSize->setCurrentIndex(1); // Letter
                options.MemoComment->setPlainText(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9"));
                if (ChooseAndOk(dialog, 1) == QDialog::Accepted) {
                    return int(QDialog::Accepted); // refused expected: fails below
                }
                refusal = options.ReasonLine->text();
                options.MemoComment->setPlainText(QStringLiteral("SSD = 92\nSHIFT = 1.5\n"));
                options.CheckBoxForm->setChecked(false);
                return ChooseAndOk(dialog, 1);
            });
            SaveAnswer save(QString::fromStdString(dir.File("first.pdf").string()));
            window.PrintPatientClick();
        }
        QVERIFY2(refusal.startsWith(QStringLiteral("The comment has 9 lines, but only ")),
                 qPrintable(refusal));
        const PdfText first = ReadPdf(QString::fromStdString(dir.File("first.pdf").string()));
        QCOMPARE(first.pages.size(), 1);
        QVERIFY(first.pages[0].contains(QStringLiteral("SHIFT = 1.5")));
        QVERIFY(!first.pages[0].contains(QStringLiteral("Supino")));
        QVERIFY(std::abs(first.width - 612) < 1); // Letter: 8.5 x 72 points
        // The same dialog again, with the comment, the check boxes and the page kept and
        // the forms back on "Both of them, please".
        bool kept = false;
        DialogAnswer again([&](QDialog& dialog) {
            auto& options = dynamic_cast<PrintReportDialog&>(dialog);
            kept =
                &options == made && options.ReportToPrintItems[2]->isChecked() &&
                options.MemoComment->toPlainText() == QStringLiteral("SSD = 92\nSHIFT = 1.5\n") &&
                !options.CheckBoxForm->isChecked() && options.CheckBoxText->isChecked() &&
                options.PdfPageSize->currentText() == QStringLiteral("Letter");
            options.CheckBoxText->setChecked(false);
            return ChooseAndOk(dialog);
        });
        SaveAnswer save(QString::fromStdString(dir.File("second.pdf").string()));
        window.PrintPatientClick();
        QVERIFY(kept);
        const PdfText second = ReadPdf(QString::fromStdString(dir.File("second.pdf").string()));
        QCOMPARE(second.pages.size(), 2);
        QVERIFY(!second.pages[1].contains(QStringLiteral("SHIFT"))); // comment left out
        QCOMPARE(made->MemoComment->toPlainText(), QStringLiteral("SSD = 92\nSHIFT = 1.5\n"));
    }

    void rightClickedPatientRenamedBeamAndBanners() {
        kova::test::TempDir dir;
        kova::test::WriteBytesFile(dir.Path(), "MyBanner1.txt", "Ospedale Citt\xE0\r\nFisica\r\n");
        kova::test::WriteBytesFile(dir.Path(), "MyBanner2.txt", "Reparto \xC3\xA8 Radioterapia");
        MainWindow window(m_info, QString::fromStdString(m_linacs.Path().string()));
        window.SetBannerFolder(QString::fromStdString(dir.Path().string()));
        const Row first = AddPatient(window, QStringLiteral("Rossi Mario"));
        AddPatient(window, QStringLiteral("Bianchi Anna"));
        // Rename the first patient's second beam in place.
        const Row beam = Child(Child(first, 0), ChildCount(Child(first, 0)) - 2);
        QCOMPARE(Text(beam), QStringLiteral("New Beam"));
        Rename(window.WorkbenchTreeView, beam, QStringLiteral("Obliquo dx"));
        // The right click on the first patient makes it the one the menu acts on.
        window.WorkbenchTreeView->setCurrentIndex(Top(window.WorkbenchTreeView, 1));
        const QPoint at = window.WorkbenchTreeView->visualRect(first).center();
        emit window.WorkbenchTreeView->customContextMenuRequested(at);
        QCOMPARE(window.WorkbenchTreeView->currentIndex(), QModelIndex(first));
        QCOMPARE(window.currentPopupMenu(), window.PatientPopupMenu);
        window.PatientPopupMenu->close();

        DialogAnswer ok([](QDialog& dialog) { return ChooseAndOk(dialog); });
        SaveAnswer save(QString::fromStdString(dir.File("renamed.pdf").string()));
        window.PatientPopupMenu->actions().last()->trigger();
        const PdfText pdf = ReadPdf(QString::fromStdString(dir.File("renamed.pdf").string()));
        QCOMPARE(pdf.pages.size(), 2);
        QVERIFY(pdf.pages[0].contains(QStringLiteral("Ospedale Citt\u00e0")));
        QVERIFY(pdf.pages[1].contains(QStringLiteral("Reparto \u00e8 Radioterapia")));
        QVERIFY(!pdf.pages[1].contains(QStringLiteral("Ospedale")));
        QCOMPARE(Words(pdf).count(QStringLiteral("Obliquo")), 2);
        QVERIFY(pdf.pages[1].contains(QStringLiteral("Rossi Mario")));
        QVERIFY(!pdf.pages[1].contains(QStringLiteral("Bianchi")));
    }
};

KOVA_GUI_TEST(PrintTest)
#include "print_test.moc"
