#include "gui/photon_beam_dialog.h"

#include "core/linac/linac_spec.h"
#include "core/text/date_text.h"
#include "gui/dialogs.h"
#include "gui/modifier_value_dialog.h"
#include "gui/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace kova::gui {
namespace {

/// The field sheets in the order of their tabs.
constexpr std::array<FieldSheet, 3> kSheetTabs = {FieldSheet::Symmetric, FieldSheet::AsymmetricA,
                                                  FieldSheet::AsymmetricB};

int TabOf(FieldSheet sheet) {
    const auto* found = std::find(kSheetTabs.begin(), kSheetTabs.end(), sheet);
    return found == kSheetTabs.end() ? 0 : static_cast<int>(found - kSheetTabs.begin());
}

/// Controls carry their names as object names, so tests and accessibility tools find them.
template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* NewLabel(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

/// A caption in column `column` and its control right of it.
QLabel* AddPair(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field) {
    QLabel* label = NewLabel(caption, field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
    return label;
}

/// The entry of item `index` as its kind; null for an item that carries none.
template <class T>
const T* EntryAs(const std::vector<ModifierItem>& items, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        return nullptr;
    }
    return static_cast<const T*>(items[static_cast<std::size_t>(index)].entry);
}

bool IsItem(const std::vector<ModifierItem>& items, int index, const char* text) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size() &&
           items[static_cast<std::size_t>(index)].text == text;
}

void FillList(QComboBox* combo, std::vector<ModifierItem>& store, std::vector<ModifierItem> items) {
    const QSignalBlocker blocker(combo);
    store = std::move(items);
    combo->clear();
    for (const ModifierItem& item : store) {
        combo->addItem(ToQ(item.text));
    }
    combo->setCurrentIndex(0);
}

void SelectIndex(QComboBox* combo, int index) {
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

/// Selects the first item holding `entry`; leaves the selection when none does.
void SelectEntry(QComboBox* combo, const std::vector<ModifierItem>& items,
                 const EnergyListItem* entry) {
    const int index = IndexOfEntry(items, entry);
    if (index >= 0) {
        SelectIndex(combo, index);
    }
}

} // namespace

PhotonBeamDialog::PhotonBeamDialog(TPhotonBeam& beam, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_beam(beam) {
    setObjectName(QStringLiteral("PhotonBeamDialog"));
    setWindowTitle(QStringLiteral("New Photon Beam"));
    if (beam.Machine(m_linac, m_energy)) {
        m_form.emplace(*m_linac, *m_energy);
        // A new beam keeps the name of its node unless the user types another.
        m_form->SetText(PhotonControl::BeamName, beam.name);
    }
    CreateEdits();
    PageControl1 = Named(new QTabWidget, "PageControl1");
    PageControl1->addTab(BuildTechniquePage(), QStringLiteral("Technique"));
    PageControl1->addTab(BuildBeamPage(), QStringLiteral("Beam"));
    PageControl1->addTab(BuildModifiersPage(), QStringLiteral("Modifiers"));
    ReasonLine = Named(new QLabel, "ReasonLine");
    ReasonLine->setStyleSheet(QStringLiteral("color: red"));
    ReasonLine->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(ReasonLine);
    layout->addLayout(BuildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ShowAllTexts();
    ShowTechnique();
    ApplyMachine();
    ConnectControls();
}

void PhotonBeamDialog::CreateEdits() {
    // In the order of PhotonControl.
    const std::array<std::pair<QLineEdit**, const char*>, kControlCount> edits = {
        {{&BeamName, "BeamName"},
         {&BeamID, "BeamID"},
         {&GantryRot, "GantryRot"},
         {&JawsRot, "JawsRot"},
         {&CouchRot, "CouchRot"},
         {&BeamDose, "BeamDose"},
         {&BeamDepth, "BeamDepth"},
         {&BeamSSD, "BeamSSD"},
         {&BeamRealSSD, "BeamRealSSD"},
         {&BeamWidth, "BeamWidth"},
         {&BeamHeight, "BeamHeight"},
         {&BeamLeft, "BeamLeft"},
         {&BeamRight, "BeamRight"},
         {&BeamBottom, "BeamBottom"},
         {&BeamTop, "BeamTop"},
         {&BeamWidthAsymm, "BeamWidthAsymm"},
         {&BeamHeightAsymm, "BeamHeightAsymm"},
         {&BeamAsymmWidth, "BeamAsymmWidth"},
         {&BeamAsymmHeight, "BeamAsymmHeight"},
         {&BeamEquivSize, "BeamEquivSize"},
         {&BeamOffset, "BeamOffset"},
         {&OffsetComp, "OffsetComp"}}};
    for (std::size_t i = 0; i < kControlCount; ++i) {
        m_edits[i] = *edits[i].first = Named(new QLineEdit, edits[i].second);
    }
    // Derived figures: shown, never typed.
    for (QLineEdit* derived : {BeamEquivSize, BeamOffset}) {
        derived->setReadOnly(true);
        derived->setFrame(false);
    }
}

QLayout* PhotonBeamDialog::BuildButtons() {
    Button1 = Named(new QPushButton(QStringLiteral("OK")), "Button1");
    Button2 = Named(new QPushButton(QStringLiteral("Cancel")), "Button2");
    Button1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    return buttons;
}

QWidget* PhotonBeamDialog::BuildTechniquePage() {
    Technique = Named(new QGroupBox(QStringLiteral("Technique")), "Technique");
    const QString isocentric = QStringLiteral(
        "Isocentric (specify dose at isocenter SAD = 100 cm, field size at isocenter)");
    const QString notIsocentric =
        QStringLiteral("Not  Isocentric (specify dose at given depth and SSD, field size at SCD)");
    TechniqueIsocentric = Named(new QRadioButton(isocentric), "TechniqueIsocentric");
    TechniqueNotIsocentric = Named(new QRadioButton(notIsocentric), "TechniqueNotIsocentric");
    m_techniqueItems = new QButtonGroup(this);
    m_techniqueItems->addButton(TechniqueIsocentric, kIsocentric);
    m_techniqueItems->addButton(TechniqueNotIsocentric, kFixedSsd);
    auto* items = new QVBoxLayout(Technique);
    items->addWidget(TechniqueIsocentric);
    items->addWidget(TechniqueNotIsocentric);
    auto* page = Named(new QWidget, "TabSheet3");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Technique);
    layout->addStretch();
    return page;
}

QWidget* PhotonBeamDialog::BuildIdentityGrid() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    AddPair(grid, 0, 0, QStringLiteral("Name"), BeamName);
    AddPair(grid, 0, 2, QStringLiteral("ID"), BeamID);
    grid->addWidget(NewLabel(QStringLiteral("gantry")), 1, 1);
    grid->addWidget(NewLabel(QStringLiteral("jaws")), 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("couch/base")), 1, 3);
    AddPair(grid, 2, 0, QStringLiteral("ROT [deg]"), GantryRot);
    grid->addWidget(JawsRot, 2, 2);
    grid->addWidget(CouchRot, 2, 3);
    QLabel* dose = AddPair(grid, 3, 0, QStringLiteral("Dose [cGy]"), BeamDose);
    dose->setObjectName(QStringLiteral("DoseLabel"));
    dose->setStyleSheet(QStringLiteral("color: red"));
    AddPair(grid, 3, 2, QStringLiteral("Depth [cm]"), BeamDepth);
    AddPair(grid, 4, 0, QStringLiteral("@ SSD [cm]"), BeamSSD);
    AddPair(grid, 4, 2, QStringLiteral("Real SSD [cm]"), BeamRealSSD);
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
    QGridLayout* sym = sheet(SymSheet, "SymSheet", QStringLiteral("Symmetric"));
    WidthLabel = pair(sym, 0, 0, "WidthLabel", BeamWidth);
    HeightLabel = pair(sym, 1, 0, "HeightLabel", BeamHeight);
    QGridLayout* a = sheet(AsymSheetA, "AsymSheetA", QStringLiteral("Asymmetric A"));
    LeftLabel = pair(a, 0, 0, "LeftLabel", BeamLeft);
    RightLabel = pair(a, 0, 2, "RightLabel", BeamRight);
    BottomLabel = pair(a, 1, 0, "BottomLabel", BeamBottom);
    TopLabel = pair(a, 1, 2, "TopLabel", BeamTop);
    QGridLayout* b = sheet(AsymSheetB, "AsymSheetB", QStringLiteral("Asymmetric B"));
    WidthAsymmLabel = pair(b, 0, 0, "WidthAsymmLabel", BeamWidthAsymm);
    HeightAsymmLabel = pair(b, 1, 0, "HeightAsymmLabel", BeamHeightAsymm);
    AddPair(b, 0, 2, QStringLiteral("Asymmetry [cm]"), BeamAsymmWidth);
    AddPair(b, 1, 2, QStringLiteral("Asymmetry [cm]"), BeamAsymmHeight);
    return FieldDim;
}

QWidget* PhotonBeamDialog::BuildBeamPage() {
    auto* derived = new QGridLayout;
    derived->addWidget(NewLabel(QStringLiteral("-->")), 0, 0, 2, 1);
    AddPair(derived, 0, 1, QStringLiteral("Equiv. Size [cm]"), BeamEquivSize);
    AddPair(derived, 1, 1, QStringLiteral("Offset [cm]"), BeamOffset);
    auto* field = new QHBoxLayout;
    field->addWidget(BuildFieldDim());
    field->addLayout(derived);
    Beam = Named(new QGroupBox(QStringLiteral("Beam")), "Beam");
    auto* group = new QVBoxLayout(Beam);
    group->addWidget(BuildIdentityGrid());
    group->addLayout(field);
    auto* page = Named(new QWidget, "TabSheet1");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Beam);
    return page;
}

QWidget* PhotonBeamDialog::BuildModifiersPage() {
    WedgeComp = Named(new QComboBox, "WedgeComp");
    TrayComp = Named(new QComboBox, "TrayComp");
    ShieldComp = Named(new QComboBox, "ShieldComp");
    MultileafComp = Named(new QComboBox, "MultileafComp");
    isOffset = Named(new QCheckBox(QStringLiteral("Use Offset [cm]")), "isOffset");
    isOffset->setLayoutDirection(Qt::RightToLeft); // the caption stands left of the box
    Modifiers = Named(new QGroupBox(QStringLiteral("Modifiers")), "Modifiers");
    auto* grid = new QGridLayout(Modifiers);
    AddPair(grid, 0, 0, QStringLiteral("Available Wedges"), WedgeComp);
    AddPair(grid, 1, 0, QStringLiteral("Available Trays"), TrayComp);
    AddPair(grid, 2, 0, QStringLiteral("Available Shields"), ShieldComp);
    grid->addWidget(isOffset, 3, 0);
    grid->addWidget(OffsetComp, 3, 1);
    AddPair(grid, 4, 0, QStringLiteral("Multileaf Treatment"), MultileafComp);
    auto* page = Named(new QWidget, "TabSheet2");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Modifiers);
    layout->addStretch();
    return page;
}

PhotonBeamDialog::Handler PhotonBeamDialog::HandlerOf(PhotonControl control) {
    switch (control) {
    case PhotonControl::BeamDepth:
        return &PhotonBeamDialog::BeamDepthChange;
    case PhotonControl::BeamWidth:
    case PhotonControl::BeamHeight:
        return &PhotonBeamDialog::BeamWidthChange;
    case PhotonControl::BeamLeft:
    case PhotonControl::BeamRight:
    case PhotonControl::BeamBottom:
    case PhotonControl::BeamTop:
        return &PhotonBeamDialog::BeamLeftChange;
    case PhotonControl::BeamWidthAsymm:
    case PhotonControl::BeamHeightAsymm:
    case PhotonControl::BeamAsymmWidth:
    case PhotonControl::BeamAsymmHeight:
        return &PhotonBeamDialog::BeamWidthAsymmChange;
    default:
        return &PhotonBeamDialog::TextChange;
    }
}

void PhotonBeamDialog::ConnectControls() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto control = static_cast<PhotonControl>(i);
        const Handler handler = HandlerOf(control);
        connect(m_edits[i], &QLineEdit::textChanged, this,
                [this, control, handler] { (this->*handler)(control); });
    }
    connect(m_techniqueItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            TechniqueClick();
        }
    });
    connect(FieldDim, &QTabWidget::currentChanged, this, &PhotonBeamDialog::FieldDimChange);
    connect(WedgeComp, &QComboBox::currentIndexChanged, this, &PhotonBeamDialog::SyncModifiers);
    connect(TrayComp, &QComboBox::currentIndexChanged, this, &PhotonBeamDialog::TrayCompChange);
    connect(ShieldComp, &QComboBox::currentIndexChanged, this, &PhotonBeamDialog::ShieldCompChange);
    connect(MultileafComp, &QComboBox::currentIndexChanged, this,
            &PhotonBeamDialog::MultileafCompChange);
    connect(isOffset, &QCheckBox::toggled, this, &PhotonBeamDialog::isOffsetClick);
    connect(Button1, &QPushButton::clicked, this, &PhotonBeamDialog::OKClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

/// Labels, sheets and lists follow the linac and energy; without them the form's own
/// captions stay and the lists stay empty.
void PhotonBeamDialog::ApplyMachine() {
    const FieldLabels labels = FieldLabelsFor(m_linac);
    WidthLabel->setText(ToQ(labels.width));
    WidthAsymmLabel->setText(ToQ(labels.width));
    HeightLabel->setText(ToQ(labels.height));
    HeightAsymmLabel->setText(ToQ(labels.height));
    LeftLabel->setText(ToQ(labels.left));
    RightLabel->setText(ToQ(labels.right));
    BottomLabel->setText(ToQ(labels.bottom));
    TopLabel->setText(ToQ(labels.top));
    if (!m_form) {
        return;
    }
    const bool asymmetric = m_form->AsymmetricSheetsEnabled();
    FieldDim->setTabEnabled(TabOf(FieldSheet::AsymmetricA), asymmetric);
    FieldDim->setTabEnabled(TabOf(FieldSheet::AsymmetricB), asymmetric);
    BeamAsymmWidth->setEnabled(m_form->AsymmWidthEnabled());
    BeamAsymmHeight->setEnabled(m_form->AsymmHeightEnabled());
    FillModifierLists();
    const bool offset = OffsetAvailable(*m_energy);
    isOffset->setEnabled(offset);
    OffsetComp->setEnabled(offset);
    MultileafComp->setEnabled(m_energy->MLCSupported);
}

void PhotonBeamDialog::FillModifierLists() {
    FillList(WedgeComp, m_wedgeItems, WedgeItems(*m_energy));
    FillList(TrayComp, m_trayItems, TrayItems(*m_energy, m_beam.adHoc));
    FillList(ShieldComp, m_shieldItems, ShieldItems(*m_energy, m_beam.adHoc));
    FillList(MultileafComp, m_multileafItems, MultileafItems(*m_energy, m_beam.adHoc));
}

QLineEdit* PhotonBeamDialog::Edit(PhotonControl control) const {
    return m_edits[static_cast<std::size_t>(control)];
}

void PhotonBeamDialog::ShowText(PhotonControl control) {
    QLineEdit* edit = Edit(control);
    // Written by a rule, not typed: it must not run the rules again.
    const QSignalBlocker blocker(edit);
    edit->setText(ToQ(m_form->Text(control)));
}

void PhotonBeamDialog::ShowAllTexts() {
    if (!m_form) {
        return;
    }
    for (std::size_t i = 0; i < kControlCount; ++i) {
        ShowText(static_cast<PhotonControl>(i));
    }
}

void PhotonBeamDialog::ShowTechnique() {
    const int technique = m_form ? m_form->texts().technique : kIsocentric;
    {
        const QSignalBlocker blocker(m_techniqueItems);
        m_techniqueItems->button(technique)->setChecked(true);
    }
    BeamSSD->setReadOnly(m_form ? m_form->ssdReadOnly() : true);
}

void PhotonBeamDialog::ShowReason(const std::string& reason) {
    ReasonLine->setText(ToQ(reason));
}

void PhotonBeamDialog::Type(PhotonControl edit) {
    if (!m_form) {
        return;
    }
    for (PhotonControl changed : m_form->SetText(edit, FromQ(Edit(edit)->text()))) {
        ShowText(changed);
    }
}

void PhotonBeamDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void PhotonBeamDialog::FormShow() {
    PageControl1->setCurrentIndex(0);
    setWindowTitle(ToQ(m_beam.name));
}

void PhotonBeamDialog::TechniqueClick() {
    if (!m_form) {
        return;
    }
    const Status status = m_form->SetTechnique(m_techniqueItems->checkedId());
    ShowReason(status.reason());
    ShowText(PhotonControl::BeamSSD);
    ShowText(PhotonControl::BeamRealSSD);
    BeamSSD->setReadOnly(m_form->ssdReadOnly());
}

void PhotonBeamDialog::FieldDimChange(int index) {
    if (!m_form || index < 0 || static_cast<std::size_t>(index) >= kSheetTabs.size()) {
        return;
    }
    if (!m_form->SetSheet(kSheetTabs[static_cast<std::size_t>(index)])) {
        const QSignalBlocker blocker(FieldDim);
        FieldDim->setCurrentIndex(TabOf(m_form->sheet()));
    }
}

void PhotonBeamDialog::isOffsetClick(bool checked) {
    if (m_form) {
        m_form->SetIsOffset(checked);
    }
}

std::optional<ModifierValue> PhotonBeamDialog::AskModifierValue() {
    ModifierValueDialog dialog(this);
    if (Dialogs::Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.value();
}

/// "Set on fly...": asks for a name and a factor; on OK the beam gets a new entry of its own
/// (offered again whenever the beam is edited), the list is filled again and the new entry,
/// which the list shows just before "Set on fly...", is selected. False on Cancel.
template <class T>
bool PhotonBeamDialog::AddOnFly(EntryList<T>& adHoc, double T::*factor, QComboBox* combo,
                                std::vector<ModifierItem>& items,
                                std::vector<ModifierItem> (*itemsOf)(const TgEnergy&,
                                                                     const AdHocModifiers&)) {
    const std::optional<ModifierValue> value = AskModifierValue();
    if (!value) {
        return false;
    }
    auto entry = std::make_unique<T>();
    entry->Name = value->name;
    (*entry).*factor = value->factor;
    const T* made = entry.get();
    adHoc.push_back(std::move(entry));
    FillList(combo, items, itemsOf(*m_energy, m_beam.adHoc));
    SelectEntry(combo, items, made);
    return true;
}

// The lists are filled only when there is a form, so "Set on fly..." and "Compute from
// file..." are never met without one.

void PhotonBeamDialog::TrayCompChange() {
    if (IsItem(m_trayItems, TrayComp->currentIndex(), kSetOnFlyItem)) {
        // On Cancel "Set on fly..." stays selected; it carries no tray.
        AddOnFly(m_beam.adHoc.trays, &Tray::TF, TrayComp, m_trayItems, TrayItems);
    }
    SyncModifiers();
}

void PhotonBeamDialog::ShieldCompChange() {
    if (IsItem(m_shieldItems, ShieldComp->currentIndex(), kSetOnFlyItem)) {
        AddOnFly(m_beam.adHoc.shields, &Shield::SF, ShieldComp, m_shieldItems, ShieldItems);
    }
    SyncModifiers();
}

void PhotonBeamDialog::MultileafCompChange() {
    const int index = MultileafComp->currentIndex();
    if (IsItem(m_multileafItems, index, kComputeFromFileItem)) {
        SelectIndex(MultileafComp, 0);
        ShowReason("Computing a multileaf factor from an MLC file is not available yet");
    } else if (IsItem(m_multileafItems, index, kSetOnFlyItem) &&
               !AddOnFly(m_beam.adHoc.multileafs, &MLCFValue::MLCF, MultileafComp, m_multileafItems,
                         MultileafItems)) {
        SelectIndex(MultileafComp, 0); // Cancel goes back to "None"
    }
    SyncModifiers();
}

/// OK reads the entries the lists show.
void PhotonBeamDialog::SyncModifiers() {
    if (!m_form) {
        return;
    }
    m_form->SetWedge(EntryAs<Wedge>(m_wedgeItems, WedgeComp->currentIndex()));
    m_form->SetTray(EntryAs<Tray>(m_trayItems, TrayComp->currentIndex()));
    m_form->SetShield(EntryAs<Shield>(m_shieldItems, ShieldComp->currentIndex()));
    m_form->SetMultileaf(EntryAs<MLCFValue>(m_multileafItems, MultileafComp->currentIndex()));
}

void PhotonBeamDialog::LoadControls() {
    if (!m_form) {
        return;
    }
    m_form->LoadControls(m_beam);
    ShowAllTexts();
    ShowTechnique();
    {
        const QSignalBlocker blocker(FieldDim);
        FieldDim->setCurrentIndex(TabOf(m_form->sheet()));
    }
    FillModifierLists();
    const PhotonBeamTexts& t = m_form->texts();
    SelectEntry(WedgeComp, m_wedgeItems, t.wedge);
    SelectEntry(TrayComp, m_trayItems, t.tray);
    SelectEntry(ShieldComp, m_shieldItems, t.shield);
    SelectEntry(MultileafComp, m_multileafItems, t.multileaf);
    SyncModifiers();
    const QSignalBlocker blocker(isOffset);
    isOffset->setChecked(t.isOffset);
}

void PhotonBeamDialog::OKClick() {
    if (!m_form) {
        // No linac and energy behind the beam: the record refuses any input and says why.
        ShowReason(m_beam.Accept(PhotonBeamInput{}, SystemToday()).reason());
        return;
    }
    const Result<PhotonBeamInput> input = ReadPhotonBeamTexts(m_form->texts());
    if (!input) {
        ShowReason(input.reason());
        return;
    }
    const Status accepted = m_beam.Accept(*input, SystemToday());
    if (!accepted) {
        ShowReason(accepted.reason());
        return;
    }
    m_beam.sheet = m_form->sheet();
    ShowReason({});
    accept();
}

} // namespace kova::gui
