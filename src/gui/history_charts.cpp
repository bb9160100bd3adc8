// The history window's charts: each beam's difference over time with the action levels, and
// the histogram of the differences per linac and energy. The figures are the core's
// (record_statistics); this file only draws them.

#include "core/record/record_statistics.h"
#include "gui/history_window.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <set>

namespace kova::gui {
namespace {

/// The histogram's bins, percent.
constexpr double kBinWidth = 1.0;

qint64 Milliseconds(const std::string& isoUtc) {
    return QDateTime::fromString(QString::fromStdString(isoUtc), Qt::ISODate).toMSecsSinceEpoch();
}

void Clear(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

/// A dashed line across the period at `level` percent.
QLineSeries* LevelLine(double level, qint64 from, qint64 to, const QString& name) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->append(static_cast<qreal>(from), level);
    line->append(static_cast<qreal>(to), level);
    QPen pen(Qt::red);
    pen.setStyle(Qt::DashLine);
    pen.setWidth(2);
    line->setPen(pen);
    return line;
}

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

void HistoryWindow::ShowTrend() {
    Clear(TrendChart);
    TrendChart->setTitle(tr("Difference from the TPS per beam, %"));
    TrendChart->legend()->setAlignment(Qt::AlignRight);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("dd/MM/yy"));
    auto* y = new QValueAxis;
    y->setTitleText(tr("Difference, %"));
    TrendChart->addAxis(x, Qt::AlignBottom);
    TrendChart->addAxis(y, Qt::AlignLeft);
    qint64 from = 0;
    qint64 to = 0;
    double largest = 1;
    for (const record::BeamTrend& trend : record::TrendsByBeam(m_checks)) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(trend.beam));
        series->setPointsVisible(true);
        for (std::size_t i = 0; i < trend.differences.size(); ++i) {
            const qint64 at = Milliseconds(trend.checkedAt[i]);
            from = from == 0 ? at : std::min(from, at);
            to = std::max(to, at);
            largest = std::max(largest, std::abs(trend.differences[i]));
            series->append(static_cast<qreal>(at), trend.differences[i]);
        }
        Attach(TrendChart, series, x, y);
    }
    // The action levels of the kinds shown, above and below zero.
    std::set<double> levels;
    for (const record::CheckRecord& check : m_checks) {
        if (check.difference) {
            levels.insert(check.actionLevel);
        }
    }
    // A single day still spans the axis.
    to = std::max(to, from + 24 * 3600 * 1000);
    for (const double level : levels) {
        const QString name = tr("Action level %1 %").arg(level);
        Attach(TrendChart, LevelLine(level, from, to, name), x, y);
        QLineSeries* below = LevelLine(-level, from, to, name);
        Attach(TrendChart, below, x, y);
        // One entry of the legend for both lines of a level.
        for (QLegendMarker* marker : TrendChart->legend()->markers(below)) {
            marker->setVisible(false);
        }
        largest = std::max(largest, level);
    }
    x->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(to));
    y->setRange(-1.2 * largest, 1.2 * largest);
}

void HistoryWindow::ShowHistogram() {
    Clear(HistogramChart);
    HistogramChart->setTitle(tr("Differences per linac and energy"));
    HistogramChart->legend()->setAlignment(Qt::AlignBottom);
    const std::vector<record::DifferenceStatistics> groups =
        record::StatisticsByLinacAndEnergy(m_checks);
    std::vector<double> all;
    QStringList lines;
    for (const record::DifferenceStatistics& group : groups) {
        all.insert(all.end(), group.differences.begin(), group.differences.end());
        lines << QString::fromStdString(record::StatisticsLine(group));
    }
    Statistics->setText(lines.join(u'\n'));
    const record::HistogramBins bins = record::BinsCovering(all, kBinWidth);
    QStringList categories;
    for (std::size_t k = 0; k < bins.count; ++k) {
        const double low = bins.first + static_cast<double>(k) * bins.width;
        categories << QStringLiteral("%1 to %2").arg(low).arg(low + bins.width);
    }
    auto* series = new QBarSeries;
    for (const record::DifferenceStatistics& group : groups) {
        auto* set = new QBarSet(QString::fromStdString(record::StatisticsLine(group)));
        for (const std::size_t count : record::BinCounts(group.differences, bins)) {
            *set << static_cast<qreal>(count);
        }
        series->append(set);
    }
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(tr("Difference, %"));
    auto* y = new QValueAxis;
    y->setTitleText(tr("Checks"));
    y->setLabelFormat(QStringLiteral("%d"));
    std::size_t most = 1;
    for (const record::DifferenceStatistics& group : groups) {
        for (const std::size_t count : record::BinCounts(group.differences, bins)) {
            most = std::max(most, count);
        }
    }
    // Whole numbers of checks on the axis.
    y->setRange(0, static_cast<qreal>(most));
    y->setTickCount(static_cast<int>(std::min<std::size_t>(most, 10)) + 1);
    HistogramChart->addAxis(x, Qt::AlignBottom);
    HistogramChart->addAxis(y, Qt::AlignLeft);
    Attach(HistogramChart, series, x, y);
}

} // namespace kova::gui
