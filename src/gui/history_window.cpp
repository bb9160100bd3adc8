#include "gui/history_window.h"

#include "core/common/file_write.h"
#include "core/common/system_user.h"
#include "core/record/record_csv.h"
#include "core/text/number_text.h"
#include "gui/dialogs.h"
#include "gui/qt_text.h"
#include "gui/record_keeper.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

namespace kova::gui {
namespace {

/// The first item of a filter's list: every value passes.
QString Any() {
    return HistoryWindow::tr("(any)");
}

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

/// The period's bound of a date control: the start of that day, or of the day after it.
std::string Bound(const QDate& date, bool after) {
    const Date day{date.year(), date.month(), date.day()};
    return after ? record::DayAfterUtc(day) : record::DayStartUtc(day);
}

/// Refills `box` with "(any)" and `values`, keeping the choice when it is still offered.
void FillCombo(QComboBox* box, const std::set<std::string>& values) {
    const QString chosen = box->currentText();
    box->clear();
    box->addItem(Any());
    for (const std::string& value : values) {
        box->addItem(Q(value));
    }
    box->setCurrentIndex(std::max(0, box->findText(chosen)));
}

std::string Chosen(const QComboBox* box) {
    return box->currentIndex() <= 0 ? std::string() : box->currentText().toStdString();
}

QString Number(const std::optional<double>& value, const char* pattern) {
    return value ? Q(FormatFloat(pattern, *value)) : QString();
}

/// The columns of the table, in order.
const QStringList& Columns() {
    static const QStringList columns = {HistoryWindow::tr("Checked (UTC)"),
                                        HistoryWindow::tr("Patient"),
                                        HistoryWindow::tr("ID"),
                                        HistoryWindow::tr("Treatment"),
                                        HistoryWindow::tr("Beam"),
                                        HistoryWindow::tr("Linac"),
                                        HistoryWindow::tr("Energy"),
                                        HistoryWindow::tr("Kind"),
                                        HistoryWindow::tr("KOVA MU"),
                                        HistoryWindow::tr("TPS MU"),
                                        HistoryWindow::tr("Difference %"),
                                        HistoryWindow::tr("Action level %"),
                                        HistoryWindow::tr("Sign-off")};
    return columns;
}

QStringList RowTexts(const record::CheckRecord& c) {
    QString signOff;
    if (!c.signOffs.empty()) {
        const record::SignOff& last = c.signOffs.back();
        signOff = Q(std::string(record::VerdictText(last.verdict)) + " by " + last.signedBy + " " +
                    last.signedAt);
    }
    return {Q(c.checkedAt),
            Q(c.patientName),
            Q(c.patientID),
            Q(c.treatment),
            Q(c.beamName),
            Q(c.linac),
            Q(c.energy),
            Q(c.kind),
            Q(FormatFloat("0.00", c.kovaMU)),
            Number(c.tpsMU, "0.##"),
            Number(c.difference, "0.0"),
            Q(FormatGeneral(c.actionLevel)) +
                (c.beyondActionLevel ? HistoryWindow::tr("  beyond") : QString()),
            signOff};
}

} // namespace

HistoryWindow::HistoryWindow(RecordKeeper& record, QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(record) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("History of checks"));
    ChecksTable = new QTableWidget(0, static_cast<int>(Columns().size()), this);
    ChecksTable->setObjectName(QStringLiteral("ChecksTable"));
    ChecksTable->setHorizontalHeaderLabels(Columns());
    ChecksTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChecksTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChecksTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ChecksTable->verticalHeader()->hide();
    connect(ChecksTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::UpdateSignOff);
    TrendChart = new QChart;
    HistogramChart = new QChart;
    // The checks above, their trend and histogram side by side below: all in one view.
    auto* charts = new QSplitter(Qt::Horizontal);
    for (QChart* chart : {TrendChart, HistogramChart}) {
        auto* view = new QChartView(chart);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(280);
        charts->addWidget(view);
    }
    auto* parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(ChecksTable);
    parts->addWidget(charts);
    parts->setSizes({260, 440});
    Statistics = new QLabel(this);
    Statistics->setObjectName(QStringLiteral("Statistics"));
    Statistics->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ApproveButton = new QPushButton(tr("Approve..."), this);
    NotApproveButton = new QPushButton(tr("Not Approved..."), this);
    auto* exportButton = new QPushButton(tr("Export CSV..."), this);
    connect(ApproveButton, &QPushButton::clicked, this, &HistoryWindow::ApproveClick);
    connect(NotApproveButton, &QPushButton::clicked, this, &HistoryWindow::NotApproveClick);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::ExportClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ApproveButton);
    buttons->addWidget(NotApproveButton);
    buttons->addStretch();
    buttons->addWidget(exportButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildFilters());
    layout->addWidget(parts, 1);
    layout->addWidget(Statistics);
    layout->addLayout(buttons);
    resize(1200, 800);
    UpdateSignOff();
}

QWidget* HistoryWindow::BuildFilters() {
    auto* box = new QWidget(this);
    auto* form = new QHBoxLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    PatientFilter = new QLineEdit(box);
    PatientFilter->setPlaceholderText(tr("Patient name or ID"));
    LinacFilter = new QComboBox(box);
    EnergyFilter = new QComboBox(box);
    KindFilter = new QComboBox(box);
    FromCheck = new QCheckBox(tr("From"), box);
    FromDate = new QDateEdit(QDate::currentDate().addMonths(-1), box);
    ToCheck = new QCheckBox(tr("to"), box);
    ToDate = new QDateEdit(QDate::currentDate(), box);
    BeyondOnly = new QCheckBox(tr("Beyond action level only"), box);
    for (QDateEdit* date : {FromDate, ToDate}) {
        date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        date->setCalendarPopup(true);
        connect(date, &QDateEdit::dateChanged, this, &HistoryWindow::Refresh);
    }
    for (QWidget* filter :
         std::initializer_list<QWidget*>{PatientFilter, LinacFilter, EnergyFilter, KindFilter,
                                         FromCheck, FromDate, ToCheck, ToDate, BeyondOnly}) {
        form->addWidget(filter);
    }
    connect(PatientFilter, &QLineEdit::editingFinished, this, &HistoryWindow::Refresh);
    for (QComboBox* combo : {LinacFilter, EnergyFilter, KindFilter}) {
        combo->addItem(Any());
        connect(combo, &QComboBox::currentIndexChanged, this, &HistoryWindow::Refresh);
    }
    for (QCheckBox* check : {FromCheck, ToCheck, BeyondOnly}) {
        connect(check, &QCheckBox::toggled, this, &HistoryWindow::Refresh);
    }
    return box;
}

record::RecordFilter HistoryWindow::Filter() const {
    record::RecordFilter filter;
    filter.patient = PatientFilter->text().trimmed().toStdString();
    filter.linac = Chosen(LinacFilter);
    filter.energy = Chosen(EnergyFilter);
    filter.kind = Chosen(KindFilter);
    if (FromCheck->isChecked()) {
        filter.from = Bound(FromDate->date(), false);
    }
    if (ToCheck->isChecked()) {
        filter.to = Bound(ToDate->date(), true);
    }
    filter.beyondActionLevelOnly = BeyondOnly->isChecked();
    return filter;
}

void HistoryWindow::FillChoices(const std::vector<record::CheckRecord>& all) {
    std::set<std::string> linacs, energies, kinds;
    for (const record::CheckRecord& check : all) {
        linacs.insert(check.linac);
        energies.insert(check.energy);
        kinds.insert(check.kind);
    }
    FillCombo(LinacFilter, linacs);
    FillCombo(EnergyFilter, energies);
    FillCombo(KindFilter, kinds);
}

void HistoryWindow::Refresh() {
    if (m_filling) {
        return;
    }
    // Filling the lists changes them: that is no new choice of the user's.
    m_filling = true;
    const auto all = m_record.Find({}, this);
    if (all) {
        FillChoices(*all);
    }
    m_filling = false;
    const auto found = all ? m_record.Find(Filter(), this) : all;
    if (!found) {
        m_checks.clear();
        Statistics->setText(Q(found.reason()));
    } else {
        m_checks = *found;
    }
    ShowTable();
    ShowTrend();
    ShowHistogram();
    UpdateSignOff();
}

void HistoryWindow::ShowTable() {
    ChecksTable->clearContents();
    ChecksTable->setRowCount(static_cast<int>(m_checks.size()));
    for (int row = 0; row < ChecksTable->rowCount(); ++row) {
        const QStringList texts = RowTexts(m_checks[static_cast<std::size_t>(row)]);
        for (int column = 0; column < texts.size(); ++column) {
            ChecksTable->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
    ChecksTable->resizeColumnsToContents();
}

const record::CheckRecord* HistoryWindow::SelectedCheck() const {
    const QList<QTableWidgetItem*> items = ChecksTable->selectedItems();
    if (items.isEmpty()) {
        return nullptr;
    }
    const int row = items.front()->row();
    return row < static_cast<int>(m_checks.size()) ? &m_checks[static_cast<std::size_t>(row)]
                                                   : nullptr;
}

void HistoryWindow::UpdateSignOff() {
    // An approved check is never signed again: only a newer check of the beam can follow.
    const record::CheckRecord* check = SelectedCheck();
    const bool open =
        check != nullptr && record::LatestVerdict(check->signOffs) != record::Verdict::Approved;
    ApproveButton->setEnabled(open);
    NotApproveButton->setEnabled(open);
}

void HistoryWindow::ApproveClick() {
    SignOff(record::Verdict::Approved);
}

void HistoryWindow::NotApproveClick() {
    SignOff(record::Verdict::NotApproved);
}

void HistoryWindow::SignOff(record::Verdict verdict) {
    const record::CheckRecord* check = SelectedCheck();
    if (check == nullptr) {
        return;
    }
    const QString verdictText = Q(std::string(record::VerdictText(verdict)));
    const std::optional<QString> comment = Dialogs::AskText(
        this, verdictText,
        tr("%1: beam %2 of %3, checked %4.\nComment:")
            .arg(verdictText, Q(check->beamName), Q(check->patientName), Q(check->checkedAt)));
    if (!comment) {
        return;
    }
    // Who signs is the user logged on; when, the clock: the core's rules decide the rest.
    const Result<record::SignOff> signOff =
        record::MakeSignOff(*check, verdict, comment->trimmed().toStdString(),
                            OperatingSystemUser(), std::chrono::system_clock::now());
    const Status saved = signOff ? m_record.Save(*signOff, this).status() : signOff.status();
    if (!saved) {
        Dialogs::ShowError(this, Q(saved.reason()));
    }
    Refresh();
}

void HistoryWindow::ExportClick() {
    const QString path =
        Dialogs::SaveFileName(this, tr("Export CSV"), tr("checks.csv"), tr("CSV files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    const Status written =
        WriteFileAtomically(PathFromQ(path), record::ChecksCsv(m_checks), /*replaceExisting=*/true);
    if (!written) {
        Dialogs::ShowError(this, Q(written.reason()));
    }
}

} // namespace kova::gui
