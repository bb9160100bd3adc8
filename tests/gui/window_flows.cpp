#include "gui/window_flows.h"

#include "core/beams/beam.h"
#include "core/common/file_bytes.h"
#include "gui/treatment_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <sstream>

namespace kova::guitest {

using gui::Dialogs;
using gui::LinacSpecWindow;
using gui::MainWindow;

namespace {
/// A fixed-SSD photon beam of `dose` cGy at 10 cm depth, 10 x 10 cm, behind `wedge`.
Dialogs::ExecHook WedgedBeam(const char* dose, const char* wedge) {
    return [=](QDialog& dialog) {
        dialog.findChild<QRadioButton*>(QStringLiteral("TechniqueNotIsocentric"))->click();
        Type(dialog, "BeamDose", QString::fromLatin1(dose));
        Type(dialog, "BeamDepth", QStringLiteral("10"));
        Type(dialog, "BeamSSD", QStringLiteral("100"));
        Type(dialog, "BeamWidth", QStringLiteral("10"));
        Type(dialog, "BeamHeight", QStringLiteral("10"));
        auto* wedges = dialog.findChild<QComboBox*>(QStringLiteral("WedgeComp"));
        wedges->setCurrentIndex(wedges->findText(QString::fromLatin1(wedge)));
        const int result = Press(dialog, "Button1");
        if (result != QDialog::Accepted) {
            qWarning("beam refused: %s",
                     qPrintable(dialog.findChild<QLabel*>(QStringLiteral("ReasonLine"))->text()));
        }
        return result;
    };
}

} // namespace

QString Folder(const test::TempDir& dir) {
    return QString::fromStdString(dir.Path().string());
}

int Press(QDialog& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    return dialog.result();
}

QLineEdit* Edit(QDialog& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (edit == nullptr) {
        qFatal("no box named %s", name);
    }
    return edit;
}

void Type(QDialog& dialog, const char* edit, const QString& text) {
    Edit(dialog, edit)->setText(text);
}

QStringList Children(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item != nullptr && i < item->childCount(); ++i) {
        texts << item->child(i)->text(0);
    }
    return texts;
}

QStringList Roots(const QTreeWidget* tree) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        texts << tree->topLevelItem(i)->text(0);
    }
    return texts;
}

/// The item reached by `captions` from the roots; fails the test when there is none.
QTreeWidgetItem* Item(const LinacSpecWindow& window, const QStringList& captions) {
    QTreeWidgetItem* item = nullptr;
    for (const QString& caption : captions) {
        const int count = item ? item->childCount() : window.Energies->topLevelItemCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && next == nullptr; ++i) {
            QTreeWidgetItem* child = item ? item->child(i) : window.Energies->topLevelItem(i);
            next = child->text(0) == caption ? child : nullptr;
        }
        if (next == nullptr) {
            qFatal("no node %s", qPrintable(captions.join(QStringLiteral(" / "))));
        }
        item = next;
    }
    return item;
}

void Select(LinacSpecWindow& window, const QStringList& captions) {
    window.Energies->setCurrentItem(Item(window, captions));
}

/// Every item of the tree, parents first.
QList<QTreeWidgetItem*> AllItems(const QTreeWidget* tree) {
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        items << tree->topLevelItem(i);
    }
    for (qsizetype i = 0; i < items.size(); ++i) {
        for (int c = 0; c < items[i]->childCount(); ++c) {
            items << items[i]->child(c);
        }
    }
    return items;
}

int Level(const QTreeWidgetItem* item) {
    int level = 0;
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        ++level;
    }
    return level;
}

/// A patient with a treatment on `linacName` (its first photon energy).
Row AddTreatment(MainWindow& window, const QString& linacName) {
    window.NewPatientClick();
    const Row patient = window.WorkbenchTreeView->currentIndex();
    DialogAnswer answer([&](QDialog& dialog) {
        auto& treatment = dynamic_cast<gui::TreatmentDialog&>(dialog);
        treatment.LINAC->setCurrentIndex(treatment.LINAC->findText(linacName));
        return Press(dialog, "OK");
    });
    window.NewTreatmentClick();
    return LastChild(patient);
}

/// The MU of a new beam on the treatment, as the workbench keeps it.
double NewBeamMu(MainWindow& window, const QModelIndex& treatment, const char* wedge) {
    window.WorkbenchTreeView->setCurrentIndex(treatment);
    DialogAnswer answer(WedgedBeam("200", wedge));
    window.NewBeamClick();
    const auto& beams = window.workbench().patients().back()->treatments.back()->beams;
    return beams.empty() ? -1 : beams.back()->MU;
}

std::string Bytes(const std::string& path) {
    return ReadFileBytes(path, 1u << 20).bytes;
}

std::string Written(const TLinacSpec& linac) {
    std::ostringstream out;
    linac.WriteTo(out);
    return out.str();
}

} // namespace kova::guitest
