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

namespace kova::gui {
namespace {

/// The patient seen from the front (left half) and from the side (right half): head,
/// torso with the two lungs in black, eyes and abdomen, as simple shapes.
class PatientDrawing : public QWidget {
public:
    PatientDrawing() { setFixedSize(540, 350); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor skin(240, 200, 170), torso(170, 200, 240), abdomen(190, 230, 190);
        painter.setPen(Qt::darkGray);
        // Front view.
        painter.setBrush(skin);
        painter.drawEllipse(QRect(100, 30, 60, 70));
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(114, 55, 9, 5));
        painter.drawEllipse(QRect(137, 55, 9, 5));
        painter.setBrush(torso);
        painter.drawRect(QRect(65, 105, 130, 110));
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRect(75, 115, 45, 90), 16, 16);
        painter.drawRoundedRect(QRect(140, 115, 45, 90), 16, 16);
        painter.setBrush(abdomen);
        painter.drawRect(QRect(60, 215, 140, 100));
        // Side view.
        painter.setBrush(skin);
        painter.drawEllipse(QRect(360, 30, 70, 70));
        painter.setBrush(torso);
        painter.drawRect(QRect(350, 105, 90, 110));
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRect(368, 118, 54, 84), 16, 16);
        painter.setBrush(abdomen);
        painter.drawRect(QRect(345, 215, 100, 100));
    }
};

/// An edit with its caption above it, placed at (x, y) on the drawing.
void Place(QWidget* drawing, QLineEdit* edit, const QString& caption, int x, int y) {
    auto* label = new QLabel(caption, drawing);
    label->setBuddy(edit);
    // Readable wherever it lies on the drawing, the black lungs included.
    label->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 210)"));
    label->adjustSize();
    label->move(x, y);
    edit->setParent(drawing);
    edit->setGeometry(x, y + label->height() + 1, 60, 22);
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
    auto* drawing = new PatientDrawing;
    // Each body value where it is drawn, by the member that keeps it.
    const struct {
        double TBIBody::*member;
        const char* caption;
        int x, y;
    } edits[] = {
        {&TBIBody::HeadWidth, QT_TR_NOOP("Head Width"), 5, 35},
        {&TBIBody::HeadHeight, QT_TR_NOOP("Head Height"), 170, 35},
        {&TBIBody::HeadDepth, QT_TR_NOOP("Head"), 450, 35},
        {&TBIBody::ThoraxWidth, QT_TR_NOOP("Thorax Width"), 0, 110},
        {&TBIBody::ThoraxDepth, QT_TR_NOOP("Thorax"), 450, 110},
        {&TBIBody::AbdomenWidth, QT_TR_NOOP("Abdomen Width"), 0, 240},
        {&TBIBody::AbdomenDepth, QT_TR_NOOP("Abdomen"), 455, 240},
        {&TBIBody::TorsoHeight, QT_TR_NOOP("Torso Height"), 205, 165},
        {&TBIBody::MeanLungDepth, QT_TR_NOOP("Lung"), 450, 165},
        {&TBIBody::MeanSkinLungDepth, QT_TR_NOOP("Skin-Lung"), 272, 105},
        {&TBIBody::MeanCTLungs, QT_TR_NOOP("Lung CT"), 100, 140},
    };
    for (const auto& edit : edits) {
        for (const TBIBodyValue& value : TBIBodyValues()) {
            if (value.member == edit.member) {
                Place(drawing, EditOf(value.name), tr(edit.caption), edit.x, edit.y);
            }
        }
    }
    isLungShields->setParent(drawing);
    isLungShields->adjustSize();
    isLungShields->move(200, 322);
    BuildPopupMenu = new QMenu(this);
    BuildPopupMenu->setObjectName(QStringLiteral("BuildPopupMenu"));
    QMenu* standard = BuildPopupMenu->addMenu(tr("Standard Builds"));
    BuildNormal = standard->addAction(tr("Normal Build"));
    BuildNormal->setObjectName(QStringLiteral("BuildNormal"));
    connect(BuildNormal, &QAction::triggered, this, &TBIBeamDialog::BuildNormalClick);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("BuildPage"));
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this,
            [this, page](const QPoint& at) { BuildPopupMenu->popup(page->mapToGlobal(at)); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(drawing);
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
