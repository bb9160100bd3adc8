#include "gui/linac_spec_window.h"

#include "core/linac/linac_file.h"
#include "core/text/number_text.h"
#include "core/workbench/linac_users.h"
#include "gui/dialogs.h"
#include "gui/energies_icons.h"
#include "gui/energy_plots_window.h"
#include "gui/qt_text.h"
#include "gui/record_form.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace kova::gui {
namespace {

QLineEdit* ShownEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

/// Shows `text` in a shown box wide enough for all of it: a read-only box cannot be scrolled
/// by typing, so a name cut at its edge would stay cut. A text beyond any sensible name is
/// held to the width of kMaxShownCharacters, whole in the box's tooltip.
void ShowWhole(QLineEdit* edit, const QString& text) {
    constexpr int kMaxShownCharacters = 40;
    edit->setText(text);
    edit->setToolTip(text);
    edit->setCursorPosition(0);
    const QFontMetrics metrics = edit->fontMetrics();
    const int textWidth = std::min(metrics.horizontalAdvance(text),
                                   metrics.horizontalAdvance(u'x') * kMaxShownCharacters);
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    // QLineEdit keeps a margin of 2 pixels on each side of its text, inside the frame.
    const QMargins margins = edit->textMargins() + edit->contentsMargins() + QMargins(2, 0, 2, 0);
    const QSize contents(textWidth + margins.left() + margins.right() + 1, edit->height());
    const QSize needed =
        edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit);
    edit->setMinimumWidth(needed.width());
}

/// A check box that shows a value and cannot be changed, yet looks like any other.
QCheckBox* ShownCheck(const char* name, const QString& caption) {
    auto* check = new QCheckBox(caption);
    check->setObjectName(QString::fromLatin1(name));
    check->setAttribute(Qt::WA_TransparentForMouseEvents);
    check->setFocusPolicy(Qt::NoFocus);
    return check;
}

QPushButton* Button(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

const EnergiesTreeNode* NodeOf(const QTreeWidgetItem* item) {
    return item == nullptr ? nullptr
                           : reinterpret_cast<const EnergiesTreeNode*>(
                                 item->data(0, Qt::UserRole).value<quintptr>());
}

/// The record an energy or entry node stands for; null for a group.
struct RecordOf {
    EditableRecord* operator()(TgEnergy* energy) const { return energy; }
    EditableRecord* operator()(TeEnergy* energy) const { return energy; }
    EditableRecord* operator()(EnergyListItem* entry) const { return entry; }
    template <class List>
    EditableRecord* operator()(List*) const {
        return nullptr;
    }
};

/// The energy an energy node stands for; null for any other node.
struct EnergyOf {
    const TEnergy* operator()(const TgEnergy* energy) const { return energy; }
    const TEnergy* operator()(const TeEnergy* energy) const { return energy; }
    template <class Other>
    const TEnergy* operator()(const Other*) const {
        return nullptr;
    }
};

/// The name of the energy a node stands for; none for a table or entry.
struct EnergyNameOf {
    std::optional<std::string> operator()(TgEnergy* energy) const { return energy->Name; }
    std::optional<std::string> operator()(TeEnergy* energy) const { return energy->Name; }
    template <class Other>
    std::optional<std::string> operator()(Other*) const {
        return std::nullopt;
    }
};

/// Every item of a tree, parents before children.
void CollectItems(QTreeWidgetItem* item, std::vector<QTreeWidgetItem*>& items) {
    items.push_back(item);
    for (int i = 0; i < item->childCount(); ++i) {
        CollectItems(item->child(i), items);
    }
}

std::vector<QTreeWidgetItem*> AllItems(QTreeWidget* tree) {
    std::vector<QTreeWidgetItem*> items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        CollectItems(tree->topLevelItem(i), items);
    }
    return items;
}

/// A core message as UTF-8: file paths in it are UTF-8, linac texts Windows-1252.
QString CoreMessage(const std::string& message) {
    return QString::fromStdString(TextFileToUtf8(message));
}

} // namespace

LinacSpecWindow::LinacSpecWindow(TLinacSpec& linac, const Workbench& workbench, QString linacFolder,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), m_linac(linac), m_workbench(workbench),
      m_linacFolder(std::move(linacFolder)) {
    setObjectName(QStringLiteral("LinacSpecWindow"));
    setWindowTitle(tr("Linac: %1").arg(ToQ(m_linac.Name)));
    auto* top = new QHBoxLayout;
    top->addWidget(BuildIdentifiers());
    top->addWidget(BuildGeometry());
    top->addWidget(BuildLabels());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(BuildEnergies(), 1);
    ShowFields();
    RebuildTree();
    resize(720, 560);
}

QWidget* LinacSpecWindow::BuildIdentifiers() {
    auto* group = new QGroupBox(tr("Linac identifiers"));
    auto* form = new QFormLayout(group);
    Name = ShownEdit("Name");
    Brand = ShownEdit("Brand");
    Model = ShownEdit("Model");
    SerialNumber = ShownEdit("SerialNumber");
    form->addRow(tr("Name"), Name);
    form->addRow(tr("Brand"), Brand);
    form->addRow(tr("Model"), Model);
    form->addRow(tr("S/N"), SerialNumber);
    return group;
}

QWidget* LinacSpecWindow::BuildGeometry() {
    // The doubled ampersand shows as one.
    auto* group = new QGroupBox(tr("Geometry && Capabilities"));
    auto* form = new QFormLayout(group);
    SAD = ShownEdit("SAD");
    isAsymmetricFieldsOnWidth =
        ShownCheck("isAsymmetricFieldsOnWidth", tr("Asymmetric gamma fields on Width?"));
    isAsymmetricFieldsOnHeight =
        ShownCheck("isAsymmetricFieldsOnHeight", tr("Asymmetric gamma fields on Height?"));
    form->addRow(tr("SAD [cm]"), SAD);
    form->addRow(isAsymmetricFieldsOnWidth);
    form->addRow(isAsymmetricFieldsOnHeight);
    return group;
}

QWidget* LinacSpecWindow::BuildLabels() {
    auto* group = new QGroupBox(tr("Labeling"));
    auto* grid = new QGridLayout(group);
    struct Label {
        QLineEdit** edit;
        const char* name;
        const char* caption;
    };
    const Label labels[] = {{&WidthChar, "WidthChar", QT_TR_NOOP("Width")},
                            {&HeightChar, "HeightChar", QT_TR_NOOP("Height")},
                            {&LeftChar, "LeftChar", QT_TR_NOOP("Left")},
                            {&RightChar, "RightChar", QT_TR_NOOP("Right")},
                            {&BottomChar, "BottomChar", QT_TR_NOOP("Bottom")},
                            {&TopChar, "TopChar", QT_TR_NOOP("Top")}};
    int row = 0;
    for (const Label& label : labels) {
        // Two characters are typed in a label; a longer one from a file is shown whole.
        *label.edit = ShownEdit(label.name);
        grid->addWidget(new QLabel(tr(label.caption)), row / 2, (row % 2) * 2);
        grid->addWidget(*label.edit, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    return group;
}

QWidget* LinacSpecWindow::BuildEnergies() {
    auto* group = new QGroupBox(tr("Energy fields"));
    Energies = new QTreeWidget;
    Energies->setObjectName(QStringLiteral("Energies"));
    Energies->setHeaderHidden(true);
    Energies->setExpandsOnDoubleClick(false);
    Energies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cAddgamma = Button("cAddgamma", tr("Add gamma"));
    cAddeminus = Button("cAddeminus", tr("Add e-"));
    cRemove = Button("cRemove", tr("Remove"));
    cDisplay = Button("cDisplay", tr("Display"));
    cPlots = Button("cPlots", tr("Plots"));
    cSaveAs = Button("cSaveAs", tr("Save As..."));
    SaveLine = new QLabel;
    SaveLine->setObjectName(QStringLiteral("SaveLine"));
    SaveLine->setWordWrap(true);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cAddgamma, cAddeminus, cRemove, cDisplay, cPlots}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(cSaveAs);
    auto* layout = new QGridLayout(group);
    layout->addWidget(Energies, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(SaveLine, 1, 0, 1, 2);
    connect(cAddgamma, &QPushButton::clicked, this, &LinacSpecWindow::cAddgammaClick);
    connect(cAddeminus, &QPushButton::clicked, this, &LinacSpecWindow::cAddeminusClick);
    connect(cRemove, &QPushButton::clicked, this, &LinacSpecWindow::cRemoveClick);
    connect(cDisplay, &QPushButton::clicked, this, &LinacSpecWindow::cDisplayClick);
    connect(cPlots, &QPushButton::clicked, this, &LinacSpecWindow::cPlotsClick);
    connect(cSaveAs, &QPushButton::clicked, this, &LinacSpecWindow::cSaveAsClick);
    connect(Energies, &QTreeWidget::itemDoubleClicked, this, &LinacSpecWindow::cDisplayClick);
    return group;
}

void LinacSpecWindow::ShowFields() {
    ShowWhole(Name, ToQ(m_linac.Name));
    ShowWhole(Brand, ToQ(m_linac.Brand));
    ShowWhole(Model, ToQ(m_linac.Model));
    ShowWhole(SerialNumber, ToQ(m_linac.SerialNumber));
    SAD->setText(ToQ(FormatGeneral(m_linac.SAD)));
    isAsymmetricFieldsOnWidth->setChecked(m_linac.isAsymmetricFieldsOnWidth != 0);
    isAsymmetricFieldsOnHeight->setChecked(m_linac.isAsymmetricFieldsOnHeight != 0);
    WidthChar->setText(ToQ(m_linac.WidthChar));
    HeightChar->setText(ToQ(m_linac.HeightChar));
    LeftChar->setText(ToQ(m_linac.LeftChar));
    RightChar->setText(ToQ(m_linac.RightChar));
    BottomChar->setText(ToQ(m_linac.BottomChar));
    TopChar->setText(ToQ(m_linac.TopChar));
}

void LinacSpecWindow::AddItems(QTreeWidgetItem* parent, const EnergiesTreeNode& node) {
    auto* item = new QTreeWidgetItem(QStringList(ToQ(node.Caption)));
    item->setIcon(0, EnergiesIcon(node.ImageIndex));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    if (parent != nullptr) {
        parent->addChild(item);
    } else {
        Energies->addTopLevelItem(item);
    }
    for (const EnergiesTreeNode& child : node.Children) {
        AddItems(item, child);
    }
}

void LinacSpecWindow::RebuildTree(const std::set<const void*>& expand) {
    std::set<const void*> expanded = expand;
    for (QTreeWidgetItem* item : AllItems(Energies)) {
        if (item->isExpanded()) {
            expanded.insert(ObjectKey(NodeOf(item)->Object));
        }
    }
    const EnergiesTreeNode* current = NodeOf(Energies->currentItem());
    const void* selected = current == nullptr ? nullptr : ObjectKey(current->Object);
    // The items point into the tree: they go before it is rebuilt.
    Energies->clear();
    m_tree = BuildEnergiesTree(m_linac, m_addedEnergies);
    for (const EnergiesTreeNode& root : m_tree) {
        AddItems(nullptr, root);
    }
    for (QTreeWidgetItem* item : AllItems(Energies)) {
        const void* key = ObjectKey(NodeOf(item)->Object);
        item->setExpanded(expanded.count(key) != 0);
        if (key == selected) {
            Energies->setCurrentItem(item);
        }
    }
}

EnergiesSelection LinacSpecWindow::Selected() const {
    EnergiesSelection selection;
    const QTreeWidgetItem* item = Energies->currentItem();
    if (item == nullptr) {
        return selection;
    }
    selection.node = NodeOf(item);
    selection.parent = NodeOf(item->parent());
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        ++selection.level;
    }
    return selection;
}

void LinacSpecWindow::Add(EnergiesAddition addition, const EnergiesSelection& selection) {
    if (addition.empty()) {
        return;
    }
    bool accepted = false;
    {
        RecordForm form(*addition.record(), this);
        // A new energy shows its defaults, so OK needs only what differs; a new entry's
        // boxes start empty, to be filled with measured values.
        if (addition.isEnergy()) {
            form.LoadEntry();
            form.setWindowTitle(addition.photonEnergy() != nullptr ? tr("New photon energy")
                                                                   : tr("New electron energy"));
        }
        accepted = Dialogs::Exec(form) == QDialog::Accepted;
    }
    if (!accepted) {
        return; // the record goes with `addition`, never having been part of the linac
    }
    std::set<const void*> expand = {addition.key()};
    if (selection.node != nullptr && !addition.isEnergy()) {
        expand.insert(ObjectKey(selection.node->Object));
    }
    if (const TgEnergy* photon = addition.photonEnergy()) {
        m_addedEnergies.push_back(photon);
    }
    addition.Commit(m_linac);
    RebuildTree(expand);
    // A new reference field or depth dose changes what the beams read.
    emit LinacEdited(&m_linac);
    RefreshPlots();
}

void LinacSpecWindow::cAddgammaClick() {
    const EnergiesSelection selection = Selected();
    Add(AddGamma(selection), selection);
}

void LinacSpecWindow::cAddeminusClick() {
    const EnergiesSelection selection = Selected();
    Add(AddElectron(selection), selection);
}

void LinacSpecWindow::cRemoveClick() {
    const EnergiesSelection selection = Selected();
    const EnergiesRemoval removal = PlanRemoval(selection);
    if (selection.node == nullptr) {
        return;
    }
    const Status allowed = CheckRemoval(m_workbench, removal);
    if (!allowed) {
        Dialogs::ShowError(this, ToQ(allowed.reason()));
        return;
    }
    for (const TEnergy* energy : removal.energies) {
        std::erase(m_addedEnergies, energy);
        // Its plots show the energy's tables: they go with it.
        if (const auto plots = m_plots.find(energy); plots != m_plots.end()) {
            delete plots->second;
            m_plots.erase(plots);
        }
    }
    Remove(m_linac, selection);
    RebuildTree();
    emit LinacEdited(&m_linac);
    RefreshPlots();
}

void LinacSpecWindow::cDisplayClick() {
    const EnergiesSelection selection = Selected();
    if (selection.node == nullptr) {
        return;
    }
    EditableRecord* record = std::visit(RecordOf{}, selection.node->Object);
    if (record == nullptr) {
        Energies->currentItem()->setExpanded(true);
        return;
    }
    const FormTexts before = record->EditorTexts();
    bool accepted = false;
    {
        RecordForm form(*record, this);
        form.LoadEntry();
        // What is typed in an entry's editor shows on its energy's plots at once, so that a
        // mistyped figure stands out before OK keeps it.
        EnergyPlotsWindow* plots = PlotsOf(*SelectedEnergy());
        const auto* const* entry = std::get_if<EnergyListItem*>(&selection.node->Object);
        if (plots != nullptr && entry != nullptr) {
            connect(&form, &RecordForm::TextsChanged, plots,
                    [plots, &form, shown = *entry] { plots->ShowEdit(shown, form.Texts()); });
        }
        if (const auto energy = std::visit(EnergyNameOf{}, selection.node->Object)) {
            form.setWindowTitle(tr("Energy: %1").arg(ToQ(*energy)));
        } else if (const auto* entry = std::get_if<EnergyListItem*>(&selection.node->Object)) {
            // A beam's MU came from it: changed, that MU would belong to other data.
            const std::string what = selection.node->Caption;
            form.SetChangeCheck([this, entry = *entry, what] {
                const Status allowed = CheckChange(m_workbench, *entry, what);
                return allowed ? QString() : ToQ(allowed.reason());
            });
        }
        accepted = Dialogs::Exec(form) == QDialog::Accepted;
    }
    RefreshPlots();
    if (accepted && record->EditorTexts() != before) {
        // A renamed entry or energy shows its new caption, here and where the workbench
        // shows it.
        RebuildTree();
        emit LinacEdited(&m_linac);
    }
}

const TEnergy* LinacSpecWindow::SelectedEnergy() const {
    const QTreeWidgetItem* item = Energies->currentItem();
    if (item == nullptr) {
        return nullptr;
    }
    while (item->parent() != nullptr) {
        item = item->parent();
    }
    return std::visit(EnergyOf{}, NodeOf(item)->Object);
}

EnergyPlotsWindow* LinacSpecWindow::PlotsOf(const TEnergy& energy) const {
    const auto found = m_plots.find(&energy);
    return found == m_plots.end() ? nullptr : found->second;
}

EnergyPlotsWindow* LinacSpecWindow::ShowPlots(const TEnergy& energy, PlotMarks marks) {
    EnergyPlotsWindow*& window = m_plots[&energy];
    if (window == nullptr) {
        for (const auto& photon : m_linac.gEnergies) {
            if (photon.get() == &energy) {
                window = new EnergyPlotsWindow(*photon, this);
            }
        }
        for (const auto& electron : m_linac.eEnergies) {
            if (electron.get() == &energy) {
                window = new EnergyPlotsWindow(*electron, this);
            }
        }
    }
    if (window == nullptr) {
        m_plots.erase(&energy);
        return nullptr;
    }
    window->SetMarks(std::move(marks));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void LinacSpecWindow::cPlotsClick() {
    if (const TEnergy* energy = SelectedEnergy()) {
        ShowPlots(*energy);
    }
}

void LinacSpecWindow::RefreshPlots() {
    for (const auto& [energy, window] : m_plots) {
        window->Refresh();
    }
}

void LinacSpecWindow::cSaveAsClick() {
    const QString suggested = QDir::home().filePath(
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(m_linac.FileName)))
            .completeBaseName() +
        QStringLiteral("-copy.lnc"));
    // The window asks before replacing a file itself, once the extension is added.
    QString path = Dialogs::SaveFileName(this, tr("Save Linac As"), suggested,
                                         tr("Linac files (*.lnc)"), false);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".lnc");
    }
    LinacSaveOptions options;
    options.protectedFolder = QFile::encodeName(m_linacFolder).toStdString();
    // A file of the linac folder is refused below, without asking to replace it first.
    if (QFileInfo::exists(path) &&
        !IsInFolder(QFile::encodeName(path).toStdString(), options.protectedFolder)) {
        if (!Dialogs::Confirm(this, tr("Save Linac As"),
                              tr("%1 already exists. Replace it?").arg(path))) {
            return;
        }
        options.replaceExisting = true;
    }
    const Status saved = SaveLinacFile(m_linac, QFile::encodeName(path).toStdString(), options);
    if (!saved) {
        Dialogs::ShowError(this, CoreMessage(saved.reason()));
        return;
    }
    SaveLine->setText(tr("Saved to %1").arg(path));
}

} // namespace kova::gui
