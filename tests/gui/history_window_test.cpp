// The history window over a real SQLite record, offscreen: the filters, the trend and the
// histogram with the core's statistics, a sign-off and the CSV export of what is shown.

#include "core/record/record_csv.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/history_window.h"
#include "gui/main_window.h"
#include "gui/record_keeper.h"
#include "gui/workbench_tree.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <algorithm>

using kova::gui::Dialogs;
using kova::gui::HistoryWindow;
using kova::gui::RecordKeeper;
using namespace kova::record;

class HistoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void filtersChartsSignOffAndExport();
    void desktopChecksAreRecorded();
};

void HistoryWindowTest::desktopChecksAreRecorded() {
    const kova::test::TempDir folder;
    RecordKeeper record(nullptr);
    QVERIFY(
        record.SetConnectionText(QString::fromStdString(folder.File("checks.sqlite").string())));
    kova::gui::MainWindow window({"KOVA X", "0.1.0"}, QStringLiteral(KOVA_DEMO_LINACS_DIR));
    window.AttachRecord(&record);
    window.ScanLinacs();
    // The three computed beams of arc.dcm (static, arc and sliding window) are recorded as
    // soon as the plan is imported.
    Dialogs::SetOpenFileAnswer(QStringLiteral(KOVA_RTPLAN_DIR "/arc.dcm"));
    Dialogs::SetMessageAnswer(QMessageBox::Ok);
    window.action(kova::gui::Command::ImportPlan)->trigger();
    Dialogs::SetOpenFileAnswer(std::nullopt);
    const auto checkOf = [](const std::vector<CheckRecord>& checks, const std::string& beam) {
        const auto last = std::find_if(checks.rbegin(), checks.rend(),
                                       [&](const CheckRecord& c) { return c.beamName == beam; });
        return last == checks.rend() ? CheckRecord{} : *last;
    };
    auto found = record.Find({}, nullptr);
    QVERIFY(found && found->size() == 3);
    const CheckRecord plan = checkOf(*found, "Static");
    QCOMPARE(plan.beamName + " " + plan.patientName + " " + plan.patientID + " " + plan.linacFile,
             std::string("Static Test Refused KOVA-R demo_dual_energy.lnc"));
    QVERIFY(plan.linacFileSha256.size() == 64 && !plan.controls.empty() && !plan.osUser.empty());
    // "Record Checks" on the workbench: each beam again, following its first check.
    window.WorkbenchTreeView->clearSelection();
    window.RecordChecksClick();
    found = record.Find({}, nullptr);
    QVERIFY(found && found->size() == 6);
    QCOMPARE(checkOf(*found, "Static").follows, std::optional<std::int64_t>(plan.id));
}

void HistoryWindowTest::filtersChartsSignOffAndExport() {
    const kova::test::TempDir folder;
    RecordKeeper record(nullptr);
    QVERIFY(
        record.SetConnectionText(QString::fromStdString(folder.File("checks.sqlite").string())));
    const struct {
        const char* beam;
        const char* energy;
        const char* at;
        double difference; ///< percent
        double level;      ///< percent
    } rows[] = {{"AP", "6MV", "2026-10-01T08:00:00Z", 1, 3},
                {"PA", "6MV", "2026-10-02T08:00:00Z", 0.5, 3},
                {"AP", "6MV", "2026-10-08T08:00:00Z", 4, 3},
                {"E", "9MeV", "2026-10-09T08:00:00Z", -2, 5},
                {"PA", "6MV", "2026-10-09T09:00:00Z", 1.5, 3},
                {"AP", "6MV", "2026-10-15T08:00:00Z", 2, 3}};
    std::vector<CheckRecord> checks;
    for (const auto& row : rows) {
        CheckRecord check;
        check.key = NewRecordKey();
        check.patientName = "Doe";
        check.treatment = "T";
        check.beamName = row.beam;
        check.linac = "L";
        check.energy = row.energy;
        check.kind = "Photon Beam";
        check.kovaMU = 100;
        check.tpsMU = 100 + row.difference;
        check.difference = row.difference;
        check.actionLevel = row.level;
        check.beyondActionLevel = std::abs(row.difference) > row.level;
        check.checkedAt = row.at;
        checks.push_back(check);
    }
    QVERIFY(record.Keep(checks, nullptr).startsWith(QStringLiteral("6 checks saved")));
    HistoryWindow window(record);
    window.Refresh();
    if (const QByteArray screenshot = qgetenv("KOVA_HISTORY_SCREENSHOT"); !screenshot.isEmpty()) {
        window.show();
        QTest::qWait(300);
        QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshot)));
    }
    QCOMPARE(window.ChecksTable->rowCount(), 6);
    // The beams AP, PA and E, and the levels 3 % and 5 % above and below zero.
    QCOMPARE(window.TrendChart->series().size(), 3 + 2 * 2);
    // 6MV: 1, 0.5, 4, 1.5, 2: mean 1.8; squares 0.64 + 1.69 + 4.84 + 0.09 + 0.04 = 7.3, / 4,
    // root 1.35.
    QCOMPARE(window.Statistics->text(), QStringLiteral("L 6MV: 5 checks, mean 1.80 %, SD 1.35 %\n"
                                                       "L 9MeV: 1 check, mean -2.00 %, SD -"));
    QCOMPARE(window.HistogramChart->series().size(), 1);
    window.BeyondOnly->setChecked(true);
    QCOMPARE(window.ChecksTable->rowCount(), 1);
    QCOMPARE(window.TrendChart->series().size(), 1 + 2);
    window.BeyondOnly->setChecked(false);
    window.EnergyFilter->setCurrentText(QStringLiteral("9MeV"));
    QCOMPARE(window.ChecksTable->rowCount(), 1);

    // Approved with a comment: the check can no longer be signed.
    window.ChecksTable->selectRow(0);
    Dialogs::SetExecHook([](QDialog& dialog) {
        static_cast<QInputDialog&>(dialog).setTextValue(QStringLiteral("Plan as planned"));
        return int(QDialog::Accepted);
    });
    window.ApproveClick();
    Dialogs::SetExecHook({});
    QCOMPARE(window.checks().at(0).signOffs.size(), std::size_t{1});
    QCOMPARE(window.checks().at(0).signOffs[0].comment, std::string("Plan as planned"));
    window.ChecksTable->selectRow(0);
    QVERIFY(!window.NotApproveButton->isEnabled());

    const QString csv = QString::fromStdString(folder.File("shown.csv").string());
    Dialogs::SetSaveFileAnswer(csv);
    window.ExportClick();
    Dialogs::SetSaveFileAnswer(std::nullopt);
    QCOMPARE(kova::test::ReadAll(csv.toStdString()), ChecksCsv(window.checks()));
}

KOVA_GUI_TEST(HistoryWindowTest)
#include "history_window_test.moc"
