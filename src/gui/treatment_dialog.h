#pragma once

#include "core/workbench/treatment_choice.h"

#include <QDialog>
#include <memory>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace kova::gui {

/// The dialog in which the user binds a new treatment to a linac, an energy and a beam kind.
/// The choices and their rules live in TreatmentChoice; the dialog shows them.
class TreatmentDialog : public QDialog {
    Q_OBJECT

public:
    TreatmentDialog(const std::vector<const TLinacSpec*>& linacs, const QString& caption,
                    QWidget* parent = nullptr);

    /// The treatment chosen, named `name`; null when the choices cannot make one.
    std::unique_ptr<TTreatment> MakeTreatment(const std::string& name) const;
    const TreatmentChoice& choice() const { return m_choice; }

    QTabWidget* PageControl = nullptr;
    QComboBox* LINAC = nullptr;
    QComboBox* gEnergy = nullptr;
    QComboBox* eEnergy = nullptr;
    QGroupBox* BeamKind = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QLabel* ReasonLine = nullptr;

public slots:
    void LINACChange(int index);
    void gEnergyChange(int index);
    void eEnergyChange(int index);
    void BeamKindClick(int index);
    void OKClick();

private:
    void Refresh();
    static void Fill(QComboBox* box, const std::vector<std::string>& items, int selected);

    TreatmentChoice m_choice;
    QButtonGroup* m_kindButtons = nullptr;
    QVBoxLayout* m_kindLayout = nullptr;
    bool m_refreshing = false;
};

} // namespace kova::gui
