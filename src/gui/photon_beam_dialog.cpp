#include "gui/photon_beam_dialog.h"

#include "core/linac/linac_spec.h"
#include "core/mlc/mlc_file.h"
#include "gui/dialogs.h"
#include "gui/qt_text.h"
#include "gui/select_mlc_choice_dialog.h"
#include "gui/select_mlc_field_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

namespace kova::gui {
namespace {

/// The field sheets in the order of their tabs.
constexpr std::array<FieldSheet, 3> kSheetTabs = {FieldSheet::Symmetric, FieldSheet::AsymmetricA,
                                                  FieldSheet::AsymmetricB};

/// Controls carry their names as object names, so tests and accessibility tools find them.
template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

int TabOf(FieldSheet sheet) {
    const auto* found = std::find(kSheetTabs.begin(), kSheetTabs.end(), sheet);
    return found == kSheetTabs.end() ? 0 : static_cast<int>(found - kSheetTabs.begin());
}

PhotonBeamDialog::PhotonBeamDialog(TPhotonBeam& beam, QWidget* parent) : BeamDialog(beam, parent) {
    setObjectName(QStringLiteral("PhotonBeamDialog"));
    TakeControls();
    PageControl1 = Named(new QTabWidget, "PageControl1");
    PageControl1->addTab(BuildTechniquePage(), tr("Technique"));
    PageControl1->addTab(BuildBeamPage(), tr("Beam"));
    PageControl1->addTab(BuildModifiersPage(), tr("Modifiers"));
    SetContent(PageControl1);
    ApplyMachine();
    connect(FieldDim, &QTabWidget::currentChanged, this, &PhotonBeamDialog::FieldDimChange);
}

PhotonBeamForm& PhotonBeamDialog::photonForm() {
    return static_cast<PhotonBeamForm&>(form());
}

void PhotonBeamDialog::TakeControls() {
    const std::pair<QLineEdit**, std::string_view> edits[] = {
        {&BeamName, controls::kBeamName},
        {&BeamID, controls::kBeamID},
        {&GantryRot, controls::kGantryRot},
        {&JawsRot, controls::kJawsRot},
        {&CouchRot, controls::kCouchRot},
        {&BeamDose, controls::kBeamDose},
        {&BeamDepth, controls::kBeamDepth},
        {&BeamSSD, controls::kBeamSSD},
        {&BeamRealSSD, controls::kBeamRealSSD},
        {&BeamWidth, controls::kBeamWidth},
        {&BeamHeight, controls::kBeamHeight},
        {&BeamLeft, controls::kBeamLeft},
        {&BeamRight, controls::kBeamRight},
        {&BeamBottom, controls::kBeamBottom},
        {&BeamTop, controls::kBeamTop},
        {&BeamWidthAsymm, controls::kBeamWidthAsymm},
        {&BeamHeightAsymm, controls::kBeamHeightAsymm},
        {&BeamAsymmWidth, controls::kBeamAsymmWidth},
        {&BeamAsymmHeight, controls::kBeamAsymmHeight},
        {&BeamEquivSize, controls::kBeamEquivSize},
        {&BeamOffset, controls::kBeamOffset},
        {&OffsetComp, controls::kOffsetComp},
    };
    for (const auto& [member, name] : edits) {
        *member = EditOf(name);
    }
    WedgeComp = ListOf(controls::kWedgeComp);
    TrayComp = ListOf(controls::kTrayComp);
    ShieldComp = ListOf(controls::kShieldComp);
    MultileafComp = ListOf(controls::kMultileafComp);
    TPSMU = EditOf(controls::kTPSMU);
    isOffset = CheckOf(controls::kIsOffset);
    isOffset->setText(tr("Use Offset [cm]"));
    isOffset->setLayoutDirection(Qt::RightToLeft);
    // Derived figures: shown, never typed.
    for (QLineEdit* derived : {BeamEquivSize, BeamOffset}) {
        derived->setFrame(false);
    }
}

QWidget* PhotonBeamDialog::BuildTechniquePage() {
    Technique = Named(new QGroupBox(tr("Technique")), "Technique");
    TechniqueIsocentric =
        Named(ChoiceItemOf(controls::kTechnique, kIsocentric), "TechniqueIsocentric");
    TechniqueNotIsocentric =
        Named(ChoiceItemOf(controls::kTechnique, kFixedSsd), "TechniqueNotIsocentric");
    TechniqueIsocentric->setText(ToQ(photonForm().IsocentricCaption()));
    TechniqueNotIsocentric->setText(
        tr("Not  Isocentric (specify dose at given depth and SSD, field size at SCD)"));
    auto* layout = new QVBoxLayout(Technique);
    layout->addWidget(TechniqueIsocentric);
    layout->addWidget(TechniqueNotIsocentric);
    auto* page = Named(new QWidget, "TabSheet3");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(Technique);
    pageLayout->addStretch();
    return page;
}

QWidget* PhotonBeamDialog::BuildDoseAndDepth() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* doseBox = new QWidget;
    m_doseGrid = new QGridLayout(doseBox);
    m_doseGrid->setContentsMargins(0, 0, 0, 0);
    m_doseGrid->addWidget(BeamDose, 1, 0);
    QLabel* dose = AddPair(grid, 0, 0, tr("Dose [cGy]"), doseBox);
    dose->setObjectName(QStringLiteral("DoseLabel"));
    dose->setStyleSheet(QStringLiteral("color: red"));
    dose->setBuddy(BeamDose);
    AddPair(grid, 0, 2, tr("Depth [cm]"), BeamDepth);
    AddPair(grid, 1, 0, tr("@ SSD [cm]"), BeamSSD);
    AddPair(grid, 1, 2, tr("Real SSD [cm]"), BeamRealSSD);
    AddPair(grid, 2, 0, tr("TPS MU"), TPSMU);
    return box;
}

QWidget* PhotonBeamDialog::BuildFieldDim() {
    FieldDim = Named(new QTabWidget, "FieldDim");
    FieldDim->setTabPosition(QTabWidget::South);
    const auto sheet = [this](QWidget*& page, const char* name, const QString& caption) {
        page = Named(new QWidget, name);
        FieldDim->addTab(page, caption);
        return new QGridLayout(page);
    };
    // The captions of the size and jaw edits come from the linac (ApplyMachine).
    const auto pair = [](QGridLayout* grid, int row, int column, const char* label,
                         QLineEdit* edit) {
        return Named(AddPair(grid, row, column, QString(), edit), label);
    };
    QGridLayout* sym = sheet(SymSheet, "SymSheet", tr("Symmetric"));
    WidthLabel = pair(sym, 0, 0, "WidthLabel", BeamWidth);
    HeightLabel = pair(sym, 1, 0, "HeightLabel", BeamHeight);
    QGridLayout* a = sheet(AsymSheetA, "AsymSheetA", tr("Asymmetric A"));
    LeftLabel = pair(a, 0, 0, "LeftLabel", BeamLeft);
    RightLabel = pair(a, 0, 2, "RightLabel", BeamRight);
    BottomLabel = pair(a, 1, 0, "BottomLabel", BeamBottom);
    TopLabel = pair(a, 1, 2, "TopLabel", BeamTop);
    QGridLayout* b = sheet(AsymSheetB, "AsymSheetB", tr("Asymmetric B"));
    WidthAsymmLabel = pair(b, 0, 0, "WidthAsymmLabel", BeamWidthAsymm);
    HeightAsymmLabel = pair(b, 1, 0, "HeightAsymmLabel", BeamHeightAsymm);
    AddPair(b, 0, 2, tr("Asymmetry [cm]"), BeamAsymmWidth);
    AddPair(b, 1, 2, tr("Asymmetry [cm]"), BeamAsymmHeight);
    return FieldDim;
}

QWidget* PhotonBeamDialog::BuildBeamPage() {
    auto* derived = new QGridLayout;
    derived->addWidget(new QLabel(QStringLiteral("-->")), 0, 0, 2, 1);
    AddPair(derived, 0, 1, tr("Equiv. Size [cm]"), BeamEquivSize);
    AddPair(derived, 1, 1, tr("Offset [cm]"), BeamOffset);
    auto* field = new QHBoxLayout;
    field->addWidget(BuildFieldDim());
    field->addLayout(derived);
    Beam = Named(new QGroupBox(tr("Beam")), "Beam");
    auto* layout = new QVBoxLayout(Beam);
    layout->addWidget(IdentityGrid());
    layout->addWidget(BuildDoseAndDepth());
    layout->addLayout(field);
    auto* page = Named(new QWidget, "TabSheet1");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(Beam);
    return page;
}

QWidget* PhotonBeamDialog::BuildModifiersPage() {
    Modifiers = Named(new QGroupBox(tr("Modifiers")), "Modifiers");
    auto* grid = new QGridLayout(Modifiers);
    AddPair(grid, 0, 0, tr("Available Wedges"), WedgeComp);
    AddPair(grid, 1, 0, tr("Available Trays"), TrayComp);
    AddPair(grid, 2, 0, tr("Available Shields"), ShieldComp);
    AddPair(grid, 3, 0, tr("Multileaf Treatment"), MultileafComp);
    grid->addWidget(isOffset, 4, 0);
    grid->addWidget(OffsetComp, 4, 1);
    auto* page = Named(new QWidget, "TabSheet2");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Modifiers);
    layout->addStretch();
    return page;
}

/// Labels and sheets follow the linac; without one the form's own captions stay.
void PhotonBeamDialog::ApplyMachine() {
    const FieldLabels labels =
        FieldLabelsFor(m_beam.machine.gEnergy ? m_beam.machine.linac : nullptr);
    WidthLabel->setText(ToQ(labels.width));
    WidthAsymmLabel->setText(ToQ(labels.width));
    HeightLabel->setText(ToQ(labels.height));
    HeightAsymmLabel->setText(ToQ(labels.height));
    LeftLabel->setText(ToQ(labels.left));
    RightLabel->setText(ToQ(labels.right));
    BottomLabel->setText(ToQ(labels.bottom));
    TopLabel->setText(ToQ(labels.top));
    Refresh();
}

void PhotonBeamDialog::Refresh() {
    BeamDialog::Refresh();
    if (FieldDim == nullptr) {
        return; // still being built
    }
    const bool asymmetric = photonForm().AsymmetricSheetsEnabled();
    FieldDim->setTabEnabled(TabOf(FieldSheet::AsymmetricA), asymmetric);
    FieldDim->setTabEnabled(TabOf(FieldSheet::AsymmetricB), asymmetric);
    const QSignalBlocker blocker(FieldDim);
    FieldDim->setCurrentIndex(TabOf(photonForm().fieldSheet()));
}

void PhotonBeamDialog::FormShow() {
    PageControl1->setCurrentIndex(0);
    BeamDialog::FormShow();
}

void PhotonBeamDialog::FieldDimChange(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < kSheetTabs.size()) {
        photonForm().SetSheet(PhotonBeamForm::SheetOf(kSheetTabs[static_cast<std::size_t>(index)]));
    }
    Refresh();
}

void PhotonBeamDialog::ComputeFromFile(std::string_view name) {
    // The exporters write lower-case and upper-case extensions; Linux tells them apart.
    const QString path = Dialogs::OpenFileName(
        this, tr("Open"), tr("MLC Shaper Files (*.mlc *.MLC);;MLC PLATO Files (*.s* *.S*)"));
    if (path.isEmpty()) {
        return; // "Compute from file..." stays selected
    }
    const Result<MLCFieldList> list = ReadMLCFile(QFile::encodeName(path).toStdString());
    if (!list) {
        Dialogs::Inform(this, QString::fromLatin1(kMLCMessageTitle), ToQ(list.reason()));
        form().FollowUpCancelled(name);
        return;
    }
    SelectMLCFieldDialog fields(*list, this);
    const MLCField* field =
        Dialogs::Exec(fields) == QDialog::Accepted ? fields.selectedField() : nullptr;
    if (field == nullptr) {
        form().FollowUpCancelled(name);
        return;
    }
    ImportMultileafField(name, list->fileName, *field);
}

void PhotonBeamDialog::ImportMultileafField(std::string_view name, const std::string& fileName,
                                            const MLCField& field) {
    const Result<JawSettings> jaws = photonForm().CurrentJaws();
    if (!jaws) {
        ShowReason(jaws.reason());
        return;
    }
    SelectMLCChoiceDialog choice(*m_beam.machine.gEnergy, *jaws, this);
    const MLCJawsChoice chosen = SelectMLCChoiceDialog::ChoiceOf(Dialogs::Exec(choice));
    if (chosen == MLCJawsChoice::Cancel) {
        return; // "Compute from file..." stays selected
    }
    if (chosen == MLCJawsChoice::Recommended) {
        photonForm().SetRecommendedJaws(field);
    }
    const Result<MLCFactors> factors = photonForm().MultileafFactorsOf(field);
    if (!factors) {
        // Factors that could not be computed are never shown or stored.
        Dialogs::Inform(this, QString::fromLatin1(kMLCMessageTitle), ToQ(factors.reason()));
        form().FollowUpCancelled(name);
        return;
    }
    const QString message = ToQ(MLCFactorMessage(factors->area, factors->perimeter, *factors));
    if (Dialogs::Confirm(this, QString::fromLatin1(kMLCMessageTitle), message)) {
        photonForm().AddMultileafFromFile(fileName, field, *factors);
    } else {
        form().FollowUpCancelled(name);
    }
}

} // namespace kova::gui
