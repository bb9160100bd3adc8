#pragma once

#include "core/record/check_record.h"
#include "core/record/record_filter.h"

#include <QWidget>
#include <vector>

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kova::gui {

class RecordKeeper;

/// The record's history: the checks that pass the filters (patient, linac, energy, kind,
/// period, beyond the action level only) in a table, the trend of each beam's difference
/// over time with the action levels drawn, a histogram of the differences per linac and
/// energy with their mean and standard deviation, the filtered checks exported to CSV, and
/// the sign-off of the selected check. Every figure comes from the core.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    HistoryWindow(RecordKeeper& record, QWidget* parent = nullptr);

    /// The filter the controls set.
    record::RecordFilter Filter() const;
    /// The checks shown, by time of check.
    const std::vector<record::CheckRecord>& checks() const { return m_checks; }

    QLineEdit* PatientFilter = nullptr;
    QComboBox* LinacFilter = nullptr;
    QComboBox* EnergyFilter = nullptr;
    QComboBox* KindFilter = nullptr;
    QCheckBox* FromCheck = nullptr;
    QDateEdit* FromDate = nullptr;
    QCheckBox* ToCheck = nullptr;
    QDateEdit* ToDate = nullptr;
    QCheckBox* BeyondOnly = nullptr;
    QTableWidget* ChecksTable = nullptr;
    QChart* TrendChart = nullptr;
    QChart* HistogramChart = nullptr;
    QLabel* Statistics = nullptr;
    QPushButton* ApproveButton = nullptr;
    QPushButton* NotApproveButton = nullptr;

public slots:
    /// Reads the checks that pass the filters again and shows them.
    void Refresh();
    void ApproveClick();
    void NotApproveClick();
    void ExportClick();

private:
    QWidget* BuildFilters();
    /// The linacs, energies and kinds of the whole record, offered in the filters.
    void FillChoices(const std::vector<record::CheckRecord>& all);
    void ShowTable();
    void ShowTrend();
    void ShowHistogram();
    void UpdateSignOff();
    void SignOff(record::Verdict verdict);
    /// The check of the selected row; none when no row is selected.
    const record::CheckRecord* SelectedCheck() const;

    RecordKeeper& m_record;
    std::vector<record::CheckRecord> m_checks;
    bool m_filling = false;
};

} // namespace kova::gui
