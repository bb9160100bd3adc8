// The open/wedged, electron and TBI beam dialogs on the demo dual-energy linac, driven
// through their real widgets: each computes the MU the core gives, refuses with a reason,
// and reloads a stored beam so that OK without changes gives the same MU.

#include "core/beams/electron_beam.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/tbi_beam.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/treatment.h"
#include "gui/beam_dialogs.h"
#include "gui/dialogs.h"
#include "gui/electron_beam_dialog.h"
#include "gui/gui_test.h"
#include "gui/modifier_value_dialog.h"
#include "gui/open_wedged_beam_dialog.h"
#include "gui/tbi_beam_dialog.h"
#include "support/near.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <fstream>
#include <sstream>

using kova::BeamKind;
using kova::gui::Dialogs;
using kova::test::IsNear;

namespace {

/// The demo dual-energy linac and a treatment of `kind` on the energy named `energy`.
struct Session {
    Session(BeamKind kind, const std::string& energy) {
        std::ifstream file(KOVA_DEMO_LINACS_DIR "/demo_dual_energy.txt", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        if (!kova::ReadLinacText(text.str(), linac).accepted()) {
            qFatal("demo linac refused");
        }
        treatment.linac = &linac;
        treatment.kind = kind;
        for (const auto& photon : linac.gEnergies) {
            treatment.gEnergy = photon->Name == energy ? photon.get() : treatment.gEnergy;
        }
        for (const auto& electron : linac.eEnergies) {
            treatment.eEnergy = electron->Name == energy ? electron.get() : treatment.eEnergy;
        }
        beam = treatment.CreateBeam("New Beam");
    }
    /// The dialog the workbench opens for the beam (a new one, or with `edit` the stored one).
    std::unique_ptr<QDialog> Open(bool edit = false) {
        auto dialog = kova::gui::CreateBeamDialog(*beam, edit, nullptr);
        dialog->show();
        return dialog;
    }

    kova::TLinacSpec linac;
    kova::TTreatment treatment;
    std::unique_ptr<kova::TBeam> beam;
};

template <class W>
W* Find(const QObject& parent, const char* name) {
    auto* widget = parent.findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no control named %s", name);
    }
    return widget;
}

void Type(const QObject& dialog, const char* edit, const QString& text) {
    auto* line = Find<QLineEdit>(dialog, edit);
    line->selectAll();
    QTest::keyClicks(line, text);
}

void Choose(const QObject& dialog, const char* list, const QString& text) {
    auto* combo = Find<QComboBox>(dialog, list);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

/// Presses OK; returns the reason line (empty when the dialog accepted).
QString PressOK(QDialog& dialog) {
    Find<QPushButton>(dialog, "Button1")->click();
    return dialog.result() == QDialog::Accepted ? QString()
                                                : Find<QLabel>(dialog, "ReasonLine")->text();
}

/// Reopens the stored beam and presses OK without a change: the MU must stay.
void ReloadGivesTheSameMu(Session& session) {
    const double mu = session.beam->MU;
    auto again = session.Open(true);
    QCOMPARE(PressOK(*again), QString());
    QCOMPARE(session.beam->MU, mu);
}

} // namespace

class BeamKindDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
    }
    void cleanup() { Dialogs::SetExecHook(nullptr); }

    void everyKindHasItsDialog() {
        for (const kova::BeamKindInfo& kind : kova::BeamKinds()) {
            const std::unique_ptr<kova::TBeam> beam = kind.create("B");
            QVERIFY2(kova::gui::CreateBeamDialog(*beam, false, nullptr), kind.text.data());
        }
    }

    void openWedged() {
        Session session(BeamKind::PhotonOpenWedged, "6MV");
        auto dialog = session.Open();
        QVERIFY(qobject_cast<kova::gui::PhotonOWBeamDialog*>(dialog.get()));
        QCOMPARE(Find<QLabel>(*dialog, "WedgeLabel")->text(), QStringLiteral("Wedge"));
        Type(*dialog, "BeamDose", QStringLiteral("60"));
        Type(*dialog, "BeamWedgeDose", QStringLiteral("40"));
        Type(*dialog, "BeamDepth", QStringLiteral("7"));
        Type(*dialog, "BeamWidth", QStringLiteral("18"));
        Type(*dialog, "BeamHeight", QStringLiteral("20"));
        QCOMPARE(PressOK(*dialog),
                 QStringLiteral("A wedge dose needs a wedge: choose one of the available wedges"));
        QCOMPARE(session.beam->calculated, false);
        Choose(*dialog, "WedgeComp", QStringLiteral("W30"));
        QCOMPARE(PressOK(*dialog), QString());
        // The same beam as examples/demo_open_wedged.ini: 61.33 + 72.07 MU.
        QCOMPARE(session.beam->MUText(), std::string("61.33 + 72.07 (wedged)"));
        QCOMPARE(session.beam->TotalDose(), 100.0);
        ReloadGivesTheSameMu(session);
        auto edit = session.Open(true);
        QCOMPARE(Find<QLineEdit>(*edit, "BeamWedgeDose")->text(), QStringLiteral("40"));
        QCOMPARE(Find<QComboBox>(*edit, "WedgeComp")->currentText(), QStringLiteral("W30"));
    }

    void electron() {
        Session session(BeamKind::Electron, "9MeV");
        auto dialog = session.Open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New Beam"));
        auto* ssd = Find<QLineEdit>(*dialog, "BeamSSD");
        QCOMPARE(ssd->text(), QStringLiteral("100"));
        QVERIFY(ssd->isReadOnly());
        QCOMPARE(ssd->focusPolicy(), Qt::NoFocus);
        QCOMPARE(Find<QComboBox>(*dialog, "ApplicatorComp")->currentText(), QStringLiteral("6x6"));
        Type(*dialog, "BeamDose", QStringLiteral("200"));
        Type(*dialog, "BeamWidth", QStringLiteral("1O"));
        QCOMPARE(PressOK(*dialog),
                 QStringLiteral("Width: '1O' is not a valid floating point value"));
        Type(*dialog, "BeamWidth", QStringLiteral("10"));
        Type(*dialog, "BeamHeight", QStringLiteral("12"));
        Choose(*dialog, "ApplicatorComp", QStringLiteral("15x15"));
        QCOMPARE(PressOK(*dialog), QString());
        // 200 cGy / 0.9018 cGy/MU, the 15x15 applicator's output at the 90% depth.
        QVERIFY(IsNear(session.beam->MU, 200 / 0.9018));
        ReloadGivesTheSameMu(session);
        auto edit = session.Open(true);
        QCOMPARE(Find<QComboBox>(*edit, "ApplicatorComp")->currentText(), QStringLiteral("15x15"));
    }

    void tbi() {
        Session session(BeamKind::TotalBody, "18MV");
        auto dialog = session.Open();
        auto& tbi = *qobject_cast<kova::gui::TBIBeamDialog*>(dialog.get());
        QCOMPARE(Find<QLineEdit>(tbi, "BeamRefDistance")->text(), QStringLiteral("400"));
        QCOMPARE(Find<QLineEdit>(tbi, "BeamWidth")->text(), QStringLiteral("40"));
        Type(tbi, "BeamDose", QStringLiteral("200"));
        QVERIFY2(!PressOK(tbi).isEmpty(), "the patient values start at 0");
        // The "Build" page: every body value labelled with its unit, and no label or box on a
        // drawing or on another.
        tbi.PageControl1->setCurrentIndex(1);
        tbi.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tbi));
        const QWidget* page = Find<QWidget>(tbi, "BuildPage");
        const auto placed = [page](const QWidget* widget) {
            return QRect(widget->mapTo(page, QPoint()), widget->size());
        };
        QList<QRect> taken = {placed(Find<QWidget>(tbi, "FrontView")),
                              placed(Find<QWidget>(tbi, "SideView"))};
        for (const kova::TBIBodyValue& value : kova::TBIBodyValues()) {
            const std::string name(value.name);
            const auto* box = Find<QLineEdit>(tbi, name.c_str());
            const QLabel* label = nullptr;
            for (const QLabel* candidate : page->findChildren<QLabel*>()) {
                label = candidate->buddy() == box ? candidate : label;
            }
            QVERIFY2(label != nullptr, name.c_str());
            const QString unit = QString::fromStdString(std::string(value.unit));
            QVERIFY2(label->text().endsWith(u'[' + unit.trimmed() + u']'),
                     qPrintable(label->text()));
            for (const QRect& own : {placed(label), placed(box)}) {
                for (const QRect& other : taken) {
                    QVERIFY2(!own.intersects(other), qPrintable(label->text()));
                }
                taken << own;
            }
        }
        tbi.BuildNormal->trigger();
        QCOMPARE(Find<QLineEdit>(tbi, "MeanCTLungs")->text(), QStringLiteral("-659"));
        QCOMPARE(Find<QLineEdit>(tbi, "HeadWidth")->text(), QStringLiteral("15.5"));
        // Clearing the box closes the lung edits; the beam learns it on OK only.
        Find<QCheckBox>(tbi, "isLungShields")->setChecked(false);
        QVERIFY(!Find<QLineEdit>(tbi, "MeanLungDepth")->isEnabled());
        Dialogs::SetExecHook([](QDialog& values) {
            Find<QLineEdit>(values, "Name")->setText(QStringLiteral("Lead 3"));
            Find<QLineEdit>(values, "Factor")->setText(QStringLiteral("0.5"));
            Find<QPushButton>(values, "OKBtn")->click();
            return values.result();
        });
        Choose(tbi, "ShieldComp", QString::fromLatin1(kova::kSetOnFlyItem));
        QCOMPARE(tbi.ShieldComp->currentText(), QStringLiteral("Lead 3"));
        QCOMPARE(PressOK(tbi), QString());
        auto& beam = static_cast<kova::TTBIBeam&>(*session.beam);
        QVERIFY(!beam.isLungShields);
        QCOMPARE(beam.shield->Name, std::string("Lead 3"));
        // The same beam without the shield needs half the MU: the shield divides by 0.5.
        const double shielded = beam.MU;
        ReloadGivesTheSameMu(session);
        auto edit = session.Open(true);
        QCOMPARE(Find<QComboBox>(*edit, "ShieldComp")->currentText(), QStringLiteral("Lead 3"));
        QVERIFY(!Find<QCheckBox>(*edit, "isLungShields")->isChecked());
        Choose(*edit, "ShieldComp", QStringLiteral("None"));
        QCOMPARE(PressOK(*qobject_cast<QDialog*>(edit.get())), QString());
        QVERIFY(IsNear(beam.MU, shielded * 0.5));
    }
};

KOVA_GUI_TEST(BeamKindDialogsTest)
#include "beam_kind_dialogs_test.moc"
