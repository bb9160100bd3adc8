#include "gui/treatment_dialog.h"

#include "gui/dialog_parts.h"
#include "gui/qt_text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kova::gui {

TreatmentDialog::TreatmentDialog(const std::vector<const TLinacSpec*>& linacs,
                                 const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_choice(linacs) {
    setObjectName(QStringLiteral("TreatmentDialog"));
    setWindowTitle(caption);

    PageControl = new QTabWidget(this);
    auto* linacPage = new QWidget;
    auto* form = new QFormLayout(linacPage);
    LINAC = new QComboBox;
    gEnergy = new QComboBox;
    eEnergy = new QComboBox;
    LINAC->setObjectName(QStringLiteral("LINAC"));
    gEnergy->setObjectName(QStringLiteral("gEnergy"));
    eEnergy->setObjectName(QStringLiteral("eEnergy"));
    form->addRow(tr("Available LINACs"), LINAC);
    form->addRow(tr("Available g Energies"), gEnergy);
    form->addRow(tr("Available e- Energies"), eEnergy);
    PageControl->addTab(linacPage, tr("Treatment LINAC"));

    auto* kindPage = new QWidget;
    auto* kindPageLayout = new QVBoxLayout(kindPage);
    BeamKind = new QGroupBox(tr("Beam Kind"));
    BeamKind->setObjectName(QStringLiteral("BeamKind"));
    m_kindLayout = new QVBoxLayout(BeamKind);
    m_kindButtons = new QButtonGroup(this);
    kindPageLayout->addWidget(BeamKind);
    kindPageLayout->addStretch();
    PageControl->addTab(kindPage, tr("Treatment Kind"));

    ReasonLine = NewReasonLine();
    auto* buttons = NewOkCancelBox(this, QStringLiteral("OK"), QStringLiteral("Cancel"));
    OK = buttons->button(QDialogButtonBox::Ok);
    Cancel = buttons->button(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addWidget(ReasonLine);
    layout->addWidget(buttons);

    Refresh();
    connect(LINAC, &QComboBox::currentIndexChanged, this, &TreatmentDialog::LINACChange);
    connect(gEnergy, &QComboBox::currentIndexChanged, this, &TreatmentDialog::gEnergyChange);
    connect(eEnergy, &QComboBox::currentIndexChanged, this, &TreatmentDialog::eEnergyChange);
    connect(m_kindButtons, &QButtonGroup::idClicked, this, &TreatmentDialog::BeamKindClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &TreatmentDialog::OKClick);
    OK->setFocus();
    setFixedSize(sizeHint().expandedTo(QSize(360, 220)));
}

void TreatmentDialog::Fill(QComboBox* box, const std::vector<std::string>& items, int selected) {
    box->clear();
    for (const std::string& item : items) {
        box->addItem(ToQ(item));
    }
    box->setCurrentIndex(selected);
}

void TreatmentDialog::Refresh() {
    m_refreshing = true;
    Fill(LINAC, m_choice.LinacItems(), m_choice.linacIndex());
    Fill(gEnergy, m_choice.gEnergyItems(), m_choice.gEnergyIndex());
    Fill(eEnergy, m_choice.eEnergyItems(), m_choice.eEnergyIndex());
    for (QAbstractButton* button : m_kindButtons->buttons()) {
        m_kindButtons->removeButton(button);
        delete button;
    }
    const auto& kinds = m_choice.KindItems();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        auto* button = new QRadioButton(ToQ(BeamKindText(kinds[i])), BeamKind);
        m_kindButtons->addButton(button, static_cast<int>(i));
        m_kindLayout->addWidget(button);
        button->setChecked(static_cast<int>(i) == m_choice.kindIndex());
    }
    m_refreshing = false;
}

void TreatmentDialog::LINACChange(int index) {
    if (!m_refreshing) {
        m_choice.LINACChange(index);
        Refresh();
    }
}

void TreatmentDialog::gEnergyChange(int index) {
    if (!m_refreshing) {
        m_choice.gEnergyChange(index);
        Refresh();
    }
}

void TreatmentDialog::eEnergyChange(int index) {
    if (!m_refreshing) {
        m_choice.eEnergyChange(index);
        Refresh();
    }
}

void TreatmentDialog::BeamKindClick(int index) {
    if (!m_refreshing) {
        m_choice.BeamKindClick(index);
    }
}

void TreatmentDialog::OKClick() {
    const Status status = m_choice.CanAccept();
    if (!status) {
        ReasonLine->setText(ToQ(status.reason()));
        return;
    }
    accept();
}

std::unique_ptr<TTreatment> TreatmentDialog::MakeTreatment(const std::string& name) const {
    return m_choice.MakeTreatment(name);
}

} // namespace kova::gui
