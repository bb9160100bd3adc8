#include "gui/tbi_beam_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>
#include <string_view>
#include <utility>

namespace kova::gui {
namespace {

/// Heights of the drawn head, torso and abdomen with the margin above the head: the rows of
/// the page follow them, so each value stands beside the part it describes.
constexpr int kHeadRow = 105, kTorsoRow = 110, kAbdomenRow = 105;

/// The patient from the front (the lungs in black) or from the side, as simple shapes. The
/// values are laid out beside the drawings, never on them, so every shape stays in view.
class BodyView : public QWidget {
public:
    explicit BodyView(bool side) : m_side(side) {
        setObjectName(side ? QStringLiteral("SideView") : QStringLiteral("FrontView"));
        setFixedSize(side ? 120 : 150, kHeadRow + kTorsoRow + kAbdomenRow);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor skin(240, 200, 170), torso(170, 200, 240), abdomen(190, 230, 190);
        const int middle = width() / 2;
        const int torsoTop = kHeadRow, abdomenTop = kHeadRow + kTorsoRow;
        painter.setPen(Qt::darkGray);
        painter.setBrush(skin);
        if (m_side) {
            painter.drawEllipse(QRect(middle - 35, 30, 70, 70));
            painter.setBrush(torso);
            painter.drawRect(QRect(middle - 45, torsoTop, 90, kTorsoRow));
            painter.setBrush(Qt::black);
            painter.drawRoundedRect(QRect(middle - 27, torsoTop + 13, 54, 84), 16, 16);
            painter.setBrush(abdomen);
            painter.drawRect(QRect(middle - 50, abdomenTop, 100, kAbdomenRow - 5));
            return;
        }
        painter.drawEllipse(QRect(middle - 30, 30, 60, 70));
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(middle - 16, 55, 9, 5));
        painter.drawEllipse(QRect(middle + 7, 55, 9, 5));
        painter.setBrush(torso);
        painter.drawRect(QRect(middle - 65, torsoTop, 130, kTorsoRow));
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRect(middle - 55, torsoTop + 10, 45, 90), 16, 16);
        painter.drawRoundedRect(QRect(middle + 10, torsoTop + 10, 45, 90), 16, 16);
        painter.setBrush(abdomen);
        painter.drawRect(QRect(middle - 70, abdomenTop, 140, kAbdomenRow - 5));
    }

private:
    bool m_side;
};

/// The caption of a body value with its unit, as the core keeps it ("Head width [cm]").
QString CaptionWithUnit(const QString& caption, std::string_view unit) {
    const QString trimmed =
        QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size())).trimmed();
    return trimmed.isEmpty() ? caption : caption + u" [" + trimmed + u']';
}

} // namespace

TBIBeamDialog::TBIBeamDialog(TTBIBeam& beam, QWidget* parent) : BeamDialog(beam, parent) {
    setObjectName(QStringLiteral("TBIBeamDialog"));
    BeamDose = EditOf(controls::kBeamDose);
    BeamRefDistance = EditOf(controls::kBeamRefDistance);
    BeamWidth = EditOf(controls::kBeamWidth);
    BeamHeight = EditOf(controls::kBeamHeight);
    ShieldComp = ListOf(controls::kShieldComp);
    isLungShields = CheckOf(controls::kIsLungShields);
    isLungShields->setText(tr("Include Lung Shields ?"));
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(BuildBeamPage(), tr("Beam"));
    PageControl1->addTab(BuildBuildPage(), tr("Build"));
    SetContent(PageControl1);
}

QWidget* TBIBeamDialog::BuildBeamPage() {
    auto* values = new QWidget;
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    QLabel* dose = AddPair(grid, 0, 0, tr("Total Dose [cGy]"), BeamDose);
    dose->setStyleSheet(QStringLiteral("color: red"));
    AddPair(grid, 0, 2, tr("Dose Point  Distance [cm]"), BeamRefDistance);
    auto* reference = new QTabWidget;
    auto* sheet = new QWidget;
    auto* sheetGrid = new QGridLayout(sheet);
    AddPair(sheetGrid, 0, 0, tr("Width X [cm]"), BeamWidth);
    AddPair(sheetGrid, 1, 0, tr("Height Y [cm]"), BeamHeight);
    reference->addTab(sheet, tr("Reference Field Size"));
    grid->addWidget(reference, 1, 0, 1, 4);
    AddPair(grid, 2, 0, tr("Available Shields"), ShieldComp);
    AddPair(grid, 3, 0, tr("TPS MU"), EditOf(controls::kTPSMU));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(IdentityGrid());
    layout->addWidget(values);
    layout->addStretch();
    return page;
}

QWidget* TBIBeamDialog::BuildBuildPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("BuildPage"));
    auto* grid = new QGridLayout(page);
    // Columns: values of the front view, the front view, values between the views, the side
    // view, values of the side view. Rows: head, torso, abdomen, then the lung shields box.
    grid->addWidget(new BodyView(false), 0, 1, 3, 1, Qt::AlignTop);
    grid->addWidget(new BodyView(true), 0, 3, 3, 1, Qt::AlignTop);
    for (const auto& [row, height] : {std::pair{0, kHeadRow}, {1, kTorsoRow}, {2, kAbdomenRow}}) {
        grid->setRowMinimumHeight(row, height);
    }
    // Each body value beside the part it describes, by the member that keeps it.
    const struct {
        double TBIBody::*member;
        const char* caption;
        int row, column;
    } edits[] = {
        {&TBIBody::HeadWidth, QT_TR_NOOP("Head width"), 0, 0},
        {&TBIBody::ThoraxWidth, QT_TR_NOOP("Thorax width"), 1, 0},
        {&TBIBody::MeanCTLungs, QT_TR_NOOP("Mean lung CT number"), 1, 0},
        {&TBIBody::AbdomenWidth, QT_TR_NOOP("Abdomen width"), 2, 0},
        {&TBIBody::HeadHeight, QT_TR_NOOP("Head height"), 0, 2},
        {&TBIBody::TorsoHeight, QT_TR_NOOP("Torso height"), 1, 2},
        {&TBIBody::MeanSkinLungDepth, QT_TR_NOOP("Skin to lung distance"), 1, 2},
        {&TBIBody::HeadDepth, QT_TR_NOOP("Head thickness"), 0, 4},
        {&TBIBody::ThoraxDepth, QT_TR_NOOP("Thorax thickness"), 1, 4},
        {&TBIBody::MeanLungDepth, QT_TR_NOOP("Lung thickness"), 1, 4},
        {&TBIBody::AbdomenDepth, QT_TR_NOOP("Abdomen thickness"), 2, 4},
    };
    std::map<std::pair<int, int>, QVBoxLayout*> cells;
    for (const auto& edit : edits) {
        QVBoxLayout*& cell = cells[{edit.row, edit.column}];
        if (cell == nullptr) {
            cell = new QVBoxLayout;
            cell->setSpacing(2);
            grid->addLayout(cell, edit.row, edit.column, Qt::AlignTop);
        }
        for (const TBIBodyValue& value : TBIBodyValues()) {
            if (value.member == edit.member) {
                QLineEdit* box = EditOf(value.name);
                auto* label = new QLabel(CaptionWithUnit(tr(edit.caption), value.unit));
                label->setBuddy(box);
                box->setFixedWidth(70);
                cell->addWidget(label);
                cell->addWidget(box);
                cell->addSpacing(4);
            }
        }
    }
    grid->addWidget(isLungShields, 3, 0, 1, 5, Qt::AlignHCenter);
    BuildPopupMenu = new QMenu(this);
    BuildPopupMenu->setObjectName(QStringLiteral("BuildPopupMenu"));
    QMenu* standard = BuildPopupMenu->addMenu(tr("Standard Builds"));
    BuildNormal = standard->addAction(tr("Normal Build"));
    BuildNormal->setObjectName(QStringLiteral("BuildNormal"));
    connect(BuildNormal, &QAction::triggered, this, &TBIBeamDialog::BuildNormalClick);
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this,
            [this, page](const QPoint& at) { BuildPopupMenu->popup(page->mapToGlobal(at)); });
    return page;
}

void TBIBeamDialog::FormShow() {
    PageControl1->setCurrentIndex(0);
    BeamDialog::FormShow();
}

void TBIBeamDialog::BuildNormalClick() {
    Picked(controls::kBuild, 0);
}

} // namespace kova::gui
