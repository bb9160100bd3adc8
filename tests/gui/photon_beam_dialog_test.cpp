// The photon beam dialog and the modifier value dialog, driven through their real widgets.
// Expected texts and MU are hand calculations on small test linacs (noted at each row); the
// last test checks the dialog against the kova-mu batch tool typing the same beam.

#include "core/linac/linac_spec.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_file.h"
#include "core/workbench/beam_input.h"
#include "core/workbench/treatment.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/modifier_value_dialog.h"
#include "gui/photon_beam_dialog.h"
#include "gui/qt_text.h"
#include "gui/select_mlc_choice_dialog.h"
#include "gui/select_mlc_field_dialog.h"
#include "support/linac_text.h"
#include "support/near.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>
#include <fstream>
#include <memory>
#include <sstream>

using kova::gui::Dialogs;
using kova::gui::ModifierValueDialog;
using kova::gui::PhotonBeamDialog;
using kova::test::IsNear;
using kova::test::LinacText;

namespace {

/// Fixed SSD 100 = SCD, 10x10 at 10 cm, depth dose 0.67, field factor 1, 1 cGy per MU,
/// 200 cGy: MU = 200 / 0.67 = 298.507. Only the last bits may move with the operand order.
constexpr double kMu10x10 = 200 / 0.67;
const kova::test::Tolerance kHand{1e-12, 1e-9};

/// A test linac (LinacText defaults unless changed: SAD 100; one photon energy with SCD 100,
/// build-up 1.5, a 10x10 field with depth dose 0.67 at 10 cm, wedge W60, tray "Tray",
/// shield "Block", multileaf "MLC", an offset table), a treatment on that energy and a new
/// beam of it.
struct Session {
    explicit Session(const LinacText& text = {}, std::string beamName = "New Beam")
        : beam(std::move(beamName)) {
        const kova::LoadResult read = kova::ReadLinacText(text.Text(), linac);
        if (!read.accepted()) {
            qFatal("test linac refused: %s", read.reason.c_str());
        }
        treatment.linac = &linac;
        treatment.gEnergy = linac.gEnergies.front().get();
        beam.machine = treatment.Machine();
    }
    /// A dialog for the beam, shown as the workbench shows it.
    PhotonBeamDialog& Open() {
        dialogs.push_back(std::make_unique<PhotonBeamDialog>(beam));
        dialogs.back()->show();
        return *dialogs.back();
    }

    kova::TLinacSpec linac;
    kova::TTreatment treatment;
    kova::TPhotonBeam beam;
    std::vector<std::unique_ptr<PhotonBeamDialog>> dialogs; ///< closed before the beam goes
};

LinacText WithJaws(const char* independentWidth, const char* independentHeight) {
    LinacText text;
    text.AsymmetricOnWidth = independentWidth;
    text.AsymmetricOnHeight = independentHeight;
    return text;
}

template <class W>
W* Find(const QObject& parent, const QString& name) {
    auto* widget = parent.findChild<W*>(name);
    if (widget == nullptr) {
        qFatal("no control named %s", qPrintable(name));
    }
    return widget;
}

template <class W>
W* Find(const QObject& parent, const char* name) {
    return Find<W>(parent, QString::fromLatin1(name));
}

QString Text(const QObject& dialog, const char* edit) {
    return Find<QLineEdit>(dialog, edit)->text();
}

QString Reason(const QObject& dialog) {
    return Find<QLabel>(dialog, "ReasonLine")->text();
}

/// Types as a user does: the whole text selected, then the keys.
void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Type(const QObject& dialog, const char* edit, const char* text) {
    TypeInto(Find<QLineEdit>(dialog, edit), QString::fromLatin1(text));
}

QStringList Latin(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromLatin1(text);
    }
    return list;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

void Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

/// The next modal window is the modifier value dialog: type `name` and `factor`, then press
/// OK (or Cancel).
void AnswerModifierValue(const QString& name, const QString& factor, bool ok = true) {
    Dialogs::SetExecHook([=](QDialog& dialog) {
        auto* values = qobject_cast<ModifierValueDialog*>(&dialog);
        if (values == nullptr) {
            return int(QDialog::Rejected);
        }
        TypeInto(Find<QLineEdit>(*values, "Name"), name);
        TypeInto(Find<QLineEdit>(*values, "Factor"), factor);
        Find<QPushButton>(*values, ok ? "OKBtn" : "CancelBtn")->click();
        return values->result();
    });
}

void TypeFixedSsd10x10(PhotonBeamDialog& dialog) {
    Find<QRadioButton>(dialog, "TechniqueNotIsocentric")->click();
    Type(dialog, "BeamDose", "200");
    Type(dialog, "BeamDepth", "10");
    Type(dialog, "BeamWidth", "10");
    Type(dialog, "BeamHeight", "10");
}

void PressOK(PhotonBeamDialog& dialog) {
    Find<QPushButton>(dialog, "Button1")->click();
}

/// Types one beam of a kova-mu beam file into the dialog entry by entry: the keys are the
/// control names; a field edit is typed on its own sheet; "NAME : FACTOR" in a list is made
/// with "Set on fly...".
void TypeBeam(PhotonBeamDialog& dialog, const kova::BeamBlock& block) {
    if (const auto* technique = block.Find("Technique"); technique && technique->value == "1") {
        Find<QRadioButton>(dialog, "TechniqueNotIsocentric")->click();
    }
    TypeInto(Find<QLineEdit>(dialog, "BeamName"), kova::gui::ToQ(block.title));
    auto* fieldDim = Find<QTabWidget>(dialog, "FieldDim");
    for (const kova::BeamEntry& entry : block.entries) {
        const QString key = kova::gui::ToQ(entry.key);
        const QString value = kova::gui::ToQ(entry.value);
        const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
        if (auto* edit = dialog.findChild<QLineEdit*>(key)) {
            for (int tab = 0; tab < fieldDim->count(); ++tab) {
                if (fieldDim->widget(tab)->isAncestorOf(edit)) {
                    fieldDim->setCurrentIndex(tab);
                }
            }
            TypeInto(edit, value);
        } else if (auto* combo = dialog.findChild<QComboBox*>(key); combo && colon < 0) {
            Choose(combo, value);
        } else if (combo) {
            AnswerModifierValue(value.left(colon).trimmed(), value.mid(colon + 1).trimmed());
            Choose(combo, QString::fromLatin1(kova::kSetOnFlyItem));
        } else if (key == QLatin1String("isOffset")) {
            Find<QCheckBox>(dialog, "isOffset")->setChecked(value == QLatin1String("1"));
        }
    }
}

std::string DemoLinacText() {
    std::ifstream file(KOVA_DEMO_LINACS_DIR "/demo_dual_energy.txt", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

class PhotonBeamDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        // A warning from the dialogs is a fault; the offscreen platform's note about
        // fixed-size windows is not.
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
    }
    void cleanup() {
        Dialogs::SetExecHook(nullptr);
        Dialogs::SetOpenFileAnswer(std::nullopt);
    }

    void modifierValueDialog_data();
    void modifierValueDialog();
    void captionsPagesAndLabels();
    void fieldSheets_data();
    void fieldSheets();
    void sheetsFollowIndependentJaws();
    void techniqueSetsSsd();
    void modifierLists();
    void setOnFlyDividesMu_data();
    void setOnFlyDividesMu();
    void setOnFlyCancel_data();
    void setOnFlyCancel();
    void computeFromFileFlow();
    void clearerMessagesAndReadOnlyBoxes();
    void okRefused_data();
    void okRefused();
    void okComputesMuAndLoadControlsRestoresIt();
    void noTreatment();
    void sameMuAsKovaMu_data();
    void sameMuAsKovaMu();
};

void PhotonBeamDialogTest::modifierValueDialog_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("reason"); // empty: any reason
    QTest::newRow("factor 0") << "T1"
                              << "0" << false << "";
    QTest::newRow("factor 0.97") << "T1"
                                 << "0.97" << true << "";
    QTest::newRow("empty name") << ""
                                << "1" << false << "";
    QTest::newRow("factor not a number")
        << "T1"
        << "abc" << false << "'abc' is not a valid floating point value";
    QTest::newRow("negative factor") << "T1"
                                     << "-1" << true << "";
}

void PhotonBeamDialogTest::modifierValueDialog() {
    QFETCH(QString, name);
    QFETCH(QString, factor);
    QFETCH(bool, accepted);
    QFETCH(QString, reason);
    ModifierValueDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Enter Modifier Name and Value"));
    QCOMPARE(Find<QLabel>(dialog, "FactorHint")->text(), QStringLiteral("UM* = UM / Factor"));
    dialog.show();
    TypeInto(Find<QLineEdit>(dialog, "Name"), name);
    TypeInto(Find<QLineEdit>(dialog, "Factor"), factor);
    Find<QPushButton>(dialog, "OKBtn")->click();
    QCOMPARE(dialog.isVisible(), !accepted);
    QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (accepted) {
        QCOMPARE(kova::gui::ToQ(dialog.value().name), name);
        QCOMPARE(dialog.value().factor, factor.toDouble());
        return;
    }
    QVERIFY(!Reason(dialog).isEmpty());
    if (!reason.isEmpty()) {
        QCOMPARE(Reason(dialog), reason);
    }
    // A refusal keeps what was typed.
    QCOMPARE(Text(dialog, "Name"), name);
    QCOMPARE(Text(dialog, "Factor"), factor);
}

void PhotonBeamDialogTest::captionsPagesAndLabels() {
    LinacText text;
    text.WidthChar = "LR";
    text.HeightChar = "BT";
    text.LeftChar = "L";
    text.RightChar = "R";
    text.BottomChar = "B";
    text.TopChar = "T";
    Session session(text, "Beam 7");
    PhotonBeamDialog dialog(session.beam);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("New Photon Beam"));
    auto* pages = Find<QTabWidget>(dialog, "PageControl1");
    pages->setCurrentIndex(2);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Beam 7"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->tabText(2), QStringLiteral("Modifiers"));
    QCOMPARE(
        Find<QRadioButton>(dialog, "TechniqueNotIsocentric")->text(),
        QStringLiteral("Not  Isocentric (specify dose at given depth and SSD, field size at SCD)"));
    QVERIFY(Find<QRadioButton>(dialog, "TechniqueIsocentric")->isChecked());
    auto* fieldDim = Find<QTabWidget>(dialog, "FieldDim");
    QCOMPARE(fieldDim->tabPosition(), QTabWidget::South);
    QCOMPARE(fieldDim->currentWidget()->objectName(), QStringLiteral("SymSheet"));
    const std::pair<const char*, const char*> labels[] = {
        {"WidthLabel", "Width LR [cm]"},   {"WidthAsymmLabel", "Width LR [cm]"},
        {"HeightLabel", "Height BT [cm]"}, {"HeightAsymmLabel", "Height BT [cm]"},
        {"LeftLabel", "Left L [cm]"},      {"RightLabel", "Right R [cm]"},
        {"BottomLabel", "Bottom B [cm]"},  {"TopLabel", "Top T [cm]"}};
    for (const auto& [name, caption] : labels) {
        QCOMPARE(Find<QLabel>(dialog, name)->text(), QString::fromLatin1(caption));
    }
    for (const char* edit : {"BeamDose", "BeamDepth", "BeamSSD", "BeamWidth", "BeamOffset"}) {
        QCOMPARE(Text(dialog, edit), QStringLiteral("0"));
    }
    QVERIFY(Find<QLineEdit>(dialog, "BeamSSD")->isReadOnly());
    QVERIFY(Find<QLineEdit>(dialog, "BeamEquivSize")->isReadOnly());
    QVERIFY(!Find<QLineEdit>(dialog, "BeamOffset")->hasFrame());
}

void PhotonBeamDialogTest::fieldSheets_data() {
    QTest::addColumn<bool>("independentX");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<QStringList>("typed");    // EDIT=TEXT, in order
    QTest::addColumn<QStringList>("expected"); // EDIT=TEXT
    // Jaws W/2 and H/2; equivalent square 2*10*20/30 = 13.33.
    QTest::newRow("symmetric 10x20")
        << true << 0 << Latin({"BeamWidth=10", "BeamHeight=20"})
        << Latin({"BeamLeft=5.0", "BeamRight=5.0", "BeamBottom=10.0", "BeamTop=10.0",
                  "BeamEquivSize=13.3", "BeamWidthAsymm=10", "BeamHeightAsymm=20", "BeamOffset=0",
                  "OffsetComp=0", "BeamAsymmWidth=0", "BeamAsymmHeight=0"});
    // Width 3 + 7, shift (7 - 3)/2 = 2, offset sqrt((3 - 7)^2 / 4) = 2.
    QTest::newRow("asymmetric A, jaws 3 7 5 5")
        << true << 1 << Latin({"BeamLeft=3", "BeamRight=7", "BeamBottom=5", "BeamTop=5"})
        << Latin({"BeamWidth=10.0", "BeamHeight=10.0", "BeamAsymmWidth=2.0", "BeamAsymmHeight=0",
                  "BeamEquivSize=10.0", "BeamOffset=2.0", "OffsetComp=2.0"});
    // X jaws that move together: the typed jaw is copied to the other one.
    QTest::newRow("asymmetric A, no independent X")
        << false << 1 << Latin({"BeamLeft=6"}) << Latin({"BeamRight=6", "BeamWidth=12.0"});
    // A shift of 98 means -2: X1 = 5 + 2, X2 = 5 - 2.
    QTest::newRow("asymmetric B, shift 98")
        << true << 2 << Latin({"BeamWidthAsymm=10", "BeamAsymmWidth=98"})
        << Latin({"BeamLeft=7.0", "BeamRight=3.0", "BeamOffset=2.0", "BeamWidth=10"});
    // A handler acts on its own sheet only.
    QTest::newRow("jaws typed on the symmetric sheet")
        << true << 0 << Latin({"BeamLeft=3"}) << Latin({"BeamWidth=0", "BeamRight=0"});
}

void PhotonBeamDialogTest::fieldSheets() {
    QFETCH(bool, independentX);
    QFETCH(int, sheet);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, expected);
    Session session(WithJaws(independentX ? "1" : "0", "1"));
    PhotonBeamDialog& dialog = session.Open();
    Find<QTabWidget>(dialog, "FieldDim")->setCurrentIndex(sheet);
    for (const QString& entry : typed) {
        TypeInto(Find<QLineEdit>(dialog, entry.section(QLatin1Char('='), 0, 0)),
                 entry.section(QLatin1Char('='), 1));
    }
    for (const QString& entry : expected) {
        const QString edit = entry.section(QLatin1Char('='), 0, 0);
        QCOMPARE(edit + QLatin1Char('=') + Find<QLineEdit>(dialog, edit)->text(), entry);
    }
}

void PhotonBeamDialogTest::sheetsFollowIndependentJaws() {
    Session heightOnly(WithJaws("0", "1"));
    PhotonBeamDialog& some = heightOnly.Open();
    QVERIFY(Find<QTabWidget>(some, "FieldDim")->isTabEnabled(2));
    QVERIFY(!Find<QLineEdit>(some, "BeamAsymmWidth")->isEnabled());
    QVERIFY(Find<QLineEdit>(some, "BeamAsymmHeight")->isEnabled());

    Session none(WithJaws("0", "0"));
    PhotonBeamDialog& dialog = none.Open();
    auto* fieldDim = Find<QTabWidget>(dialog, "FieldDim");
    QVERIFY(!fieldDim->isTabEnabled(1) && !fieldDim->isTabEnabled(2));
    fieldDim->setCurrentIndex(1);
    QCOMPARE(fieldDim->currentIndex(), 0);
    Type(dialog, "BeamWidth", "8"); // the symmetric sheet still rules the jaws
    QCOMPARE(Text(dialog, "BeamLeft"), QStringLiteral("4.0"));
}

void PhotonBeamDialogTest::techniqueSetsSsd() {
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    Type(dialog, "BeamDepth", "5"); // isocentric: SAD 100 - 5
    QCOMPARE(Text(dialog, "BeamSSD"), QStringLiteral("95"));
    QCOMPARE(Text(dialog, "BeamRealSSD"), QStringLiteral("95"));
    QVERIFY(Find<QLineEdit>(dialog, "BeamSSD")->isReadOnly());
    Find<QRadioButton>(dialog, "TechniqueNotIsocentric")->click(); // both become SCD 100
    QCOMPARE(Text(dialog, "BeamSSD"), QStringLiteral("100"));
    QCOMPARE(Text(dialog, "BeamRealSSD"), QStringLiteral("100"));
    Type(dialog, "BeamSSD", "90");
    QCOMPARE(Text(dialog, "BeamSSD"), QStringLiteral("90"));
    Type(dialog, "BeamDepth", "x5");
    Find<QRadioButton>(dialog, "TechniqueIsocentric")->click();
    QCOMPARE(Reason(dialog), QStringLiteral("Depth: 'x5' is not a valid floating point value"));
}

void PhotonBeamDialogTest::modifierLists() {
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    QCOMPARE(Items(Find<QComboBox>(dialog, "WedgeComp")), Latin({"None", "W60"}));
    QCOMPARE(Items(Find<QComboBox>(dialog, "TrayComp")), Latin({"None", "Tray", "Set on fly..."}));
    QCOMPARE(Items(Find<QComboBox>(dialog, "ShieldComp")),
             Latin({"None", "Block", "Set on fly..."}));
    QCOMPARE(Items(Find<QComboBox>(dialog, "MultileafComp")),
             Latin({"None", "MLC", "Set on fly...", "Compute from file..."}));
    QVERIFY(Find<QComboBox>(dialog, "MultileafComp")->isEnabled());
    auto* offset = Find<QCheckBox>(dialog, "isOffset");
    QVERIFY(offset->isEnabled() && !offset->isChecked());
    QVERIFY(Find<QLineEdit>(dialog, "OffsetComp")->isEnabled());

    LinacText text;
    text.Photons[0].MLCSupported = "0";
    text.Photons[0].OffsetFactors = {};
    Session bare(text);
    PhotonBeamDialog& without = bare.Open();
    QCOMPARE(Items(Find<QComboBox>(without, "MultileafComp")), Latin({"Not available"}));
    QVERIFY(!Find<QComboBox>(without, "MultileafComp")->isEnabled());
    QVERIFY(!Find<QCheckBox>(without, "isOffset")->isEnabled());
    QVERIFY(!Find<QLineEdit>(without, "OffsetComp")->isEnabled());
}

void PhotonBeamDialogTest::setOnFlyDividesMu_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("tray") << "TrayComp";
    QTest::newRow("shield") << "ShieldComp";
    QTest::newRow("multileaf") << "MultileafComp";
}

void PhotonBeamDialogTest::setOnFlyDividesMu() {
    QFETCH(QString, list);
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    TypeFixedSsd10x10(dialog);
    auto* combo = Find<QComboBox>(dialog, list);
    const int setOnFly = combo->findText(QStringLiteral("Set on fly..."));
    QStringList expected = Items(combo);
    expected.insert(setOnFly, QStringLiteral("T1"));
    AnswerModifierValue(QStringLiteral("T1"), QStringLiteral("0.97"));
    combo->setCurrentIndex(setOnFly);
    QCOMPARE(Items(combo), expected);
    QCOMPARE(combo->currentIndex(), setOnFly);
    PressOK(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(IsNear(session.beam.MU, kMu10x10 / 0.97, kHand));

    // The beam owns the entry: editing the beam offers and selects T1 again.
    PhotonBeamDialog& edit = session.Open();
    edit.LoadControls();
    QCOMPARE(Items(Find<QComboBox>(edit, list)), expected);
    QCOMPARE(Find<QComboBox>(edit, list)->currentText(), QStringLiteral("T1"));
}

void PhotonBeamDialogTest::setOnFlyCancel_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("selected");
    QTest::newRow("tray") << "TrayComp"
                          << "Set on fly...";
    QTest::newRow("shield") << "ShieldComp"
                            << "Set on fly...";
    QTest::newRow("multileaf") << "MultileafComp"
                               << "None";
}

void PhotonBeamDialogTest::setOnFlyCancel() {
    QFETCH(QString, list);
    QFETCH(QString, selected);
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    TypeFixedSsd10x10(dialog);
    auto* combo = Find<QComboBox>(dialog, list);
    const QStringList before = Items(combo);
    AnswerModifierValue(QStringLiteral("T1"), QStringLiteral("0.97"), false);
    Choose(combo, QStringLiteral("Set on fly..."));
    QCOMPARE(Items(combo), before);
    QCOMPARE(combo->currentText(), selected);
    PressOK(dialog);
    QVERIFY(IsNear(session.beam.MU, kMu10x10, kHand));
    const kova::AdHocModifiers& adHoc = session.beam.adHoc;
    QVERIFY(adHoc.trays.empty() && adHoc.shields.empty() && adHoc.multileafs.empty());
}

void PhotonBeamDialogTest::computeFromFileFlow() {
    // Phantom scatter 1 on the only reference field: the factors of a 10 x 10 opening under
    // 10 x 10 jaws are sqrt(100) = 10 and 4 x 100 / 40 = 10 against e = 10, so exactly 1.
    LinacText text;
    text.Photons[0].RefFields = {
        {kova::test::RefFieldEntry(10, 10, 1, true, 1, {{1.5, 1}, {10, 0.67}})}, {}};
    Session session(text);
    PhotonBeamDialog& dialog = session.Open();
    TypeFixedSsd10x10(dialog);
    auto* multileaf = Find<QComboBox>(dialog, "MultileafComp");
    const QString compute = QString::fromLatin1(kova::kComputeFromFileItem);

    Dialogs::SetOpenFileAnswer(QString()); // Cancel in the file dialog
    Choose(multileaf, compute);
    QCOMPARE(multileaf->currentText(), compute);

    Dialogs::ClearShownMessages();
    Dialogs::SetOpenFileAnswer(QStringLiteral(KOVA_DEMO_LINACS_DIR "/README.md"));
    Dialogs::SetMessageAnswer(QMessageBox::Ok);
    multileaf->setCurrentIndex(0);
    Choose(multileaf, compute);
    QCOMPARE(multileaf->currentText(), QStringLiteral("None"));
    QVERIFY(Dialogs::ShownMessages().last().startsWith(QStringLiteral("No multileaf field found")));

    Dialogs::SetOpenFileAnswer(QStringLiteral(KOVA_MLC_DATA_DIR "/plan.mlc"));
    Dialogs::SetExecHook([](QDialog& shown) {
        if (auto* fields = qobject_cast<kova::gui::SelectMLCFieldDialog*>(&shown)) {
            fields->OKBtn->click(); // the first field, " AP 10x10"
            return fields->result();
        }
        auto& jaws = dynamic_cast<kova::gui::SelectMLCChoiceDialog&>(shown);
        jaws.CurBtn->click();
        return jaws.result();
    });
    Choose(multileaf, compute);
    QCOMPARE(multileaf->currentText(), QStringLiteral("plan.mlc:: AP 10x10"));
    QCOMPARE(multileaf->count(), 5); // the entry stands before the two actions
    QVERIFY(Dialogs::ShownMessages().last().contains(
        QStringLiteral("Guessed (Avg.) Multileaf Factor = 1.000")));
    PressOK(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(IsNear(session.beam.MU, kMu10x10, kHand));
    QCOMPARE(session.beam.factors.multileafFactor, 1.0);
}

void PhotonBeamDialogTest::clearerMessagesAndReadOnlyBoxes() {
    LinacText cobalt;
    cobalt.SAD = "80";
    Session session(cobalt);
    PhotonBeamDialog& dialog = session.Open();
    QVERIFY(Find<QRadioButton>(dialog, "TechniqueIsocentric")
                ->text()
                .contains(QStringLiteral("SAD = 80 cm")));
    // Read-only boxes are skipped by Tab; the SSD is typed only with a fixed SSD.
    QCOMPARE(Find<QLineEdit>(dialog, "BeamEquivSize")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(Find<QLineEdit>(dialog, "OffsetComp")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(Find<QLineEdit>(dialog, "BeamSSD")->focusPolicy(), Qt::NoFocus);
    TypeFixedSsd10x10(dialog);
    QCOMPARE(Find<QLineEdit>(dialog, "BeamSSD")->focusPolicy(), Qt::StrongFocus);
    // A field that is not a number: no equivalent size shown, and OK names the field.
    Type(dialog, "BeamWidth", "1o");
    QCOMPARE(Text(dialog, "BeamEquivSize"), QString());
    PressOK(dialog);
    QCOMPARE(Reason(dialog), QStringLiteral("Width: '1o' is not a valid floating point value"));
    // The reason goes as soon as the user changes an input.
    Type(dialog, "BeamWidth", "10");
    QCOMPARE(Reason(dialog), QString());
    QCOMPARE(Text(dialog, "BeamEquivSize"), QStringLiteral("10.0"));
    Type(dialog, "TPSMU", "300");
    PressOK(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(session.beam.tpsMU.value_or(0), 300.0);
}

void PhotonBeamDialogTest::okRefused_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason");
    /// The box OK shows (on its tab, with the focus); none for a refusal of no one box.
    QTest::addColumn<QString>("shown");
    QTest::newRow("not a number") << "BeamDose"
                                  << "abc"
                                  << "Dose: 'abc' is not a valid floating point value"
                                  << "BeamDose";
    QTest::newRow("zero") << "BeamDose"
                          << "0"
                          << "The dose must be above 0 cGy" << QString();
    QTest::newRow("blank depth") << "BeamDepth"
                                 << "  "
                                 << "Depth is empty"
                                 << "BeamDepth";
    QTest::newRow("decimal comma") << "BeamDepth"
                                   << "10,5"
                                   << "Depth: '10,5' is not a valid floating point value (use "
                                      "a decimal point: 10.5)"
                                   << "BeamDepth";
    QTest::newRow("negative width") << "BeamWidth"
                                    << "-5"
                                    << "Width must be above 0"
                                    << "BeamWidth";
    QTest::newRow("zero height") << "BeamHeight"
                                 << "0"
                                 << "Height must be above 0"
                                 << "BeamHeight";
}

void PhotonBeamDialogTest::okRefused() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    QFETCH(QString, shown);
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    TypeFixedSsd10x10(dialog);
    TypeInto(Find<QLineEdit>(dialog, box.toLatin1().constData()), typed);
    // OK pressed from another page: a refusal about one box brings that box into view.
    dialog.PageControl1->setCurrentIndex(2);
    PressOK(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Reason(dialog), reason);
    QVERIFY(!session.beam.calculated);
    if (shown.isEmpty()) {
        QCOMPARE(dialog.PageControl1->currentIndex(), 2);
        return;
    }
    auto* edit = Find<QLineEdit>(dialog, shown.toLatin1().constData());
    QCOMPARE(dialog.focusWidget(), edit);
    QVERIFY(dialog.PageControl1->currentWidget()->isAncestorOf(edit));
}

void PhotonBeamDialogTest::okComputesMuAndLoadControlsRestoresIt() {
    Session session;
    PhotonBeamDialog& dialog = session.Open();
    TypeFixedSsd10x10(dialog);
    Type(dialog, "BeamID", "A1");
    PressOK(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(IsNear(session.beam.MU, kMu10x10, kHand));

    PhotonBeamDialog& edit = session.Open();
    edit.LoadControls();
    QVERIFY(Find<QRadioButton>(edit, "TechniqueNotIsocentric")->isChecked());
    QVERIFY(!Find<QLineEdit>(edit, "BeamSSD")->isReadOnly());
    const std::pair<const char*, const char*> shown[] = {
        {"BeamID", "A1"},    {"BeamDose", "200"}, {"BeamDepth", "10"},     {"BeamSSD", "100"},
        {"BeamWidth", "10"}, {"BeamLeft", "5"},   {"BeamEquivSize", "10"}, {"BeamOffset", "0"}};
    for (const auto& [name, text] : shown) {
        QCOMPARE(Text(edit, name), QString::fromLatin1(text));
    }
    QVERIFY(!Find<QCheckBox>(edit, "isOffset")->isChecked());
    session.beam.MU = 0;
    PressOK(edit);
    QCOMPARE(edit.result(), int(QDialog::Accepted));
    QVERIFY(IsNear(session.beam.MU, kMu10x10, kHand));
}

void PhotonBeamDialogTest::noTreatment() {
    kova::TPhotonBeam beam("Orphan");
    PhotonBeamDialog dialog(beam);
    dialog.show();
    QCOMPARE(Find<QLabel>(dialog, "WidthLabel")->text(), QStringLiteral("Width X [cm]"));
    Type(dialog, "BeamDose", "200");
    PressOK(dialog);
    QVERIFY(dialog.isVisible());
    QVERIFY(!Reason(dialog).isEmpty());
    QVERIFY(!beam.calculated);
}

void PhotonBeamDialogTest::sameMuAsKovaMu_data() {
    QTest::addColumn<QString>("beamText");
    // Isocentric, jaws 3/7 and 6/6: the one-decimal equivalent size (10.9) and offset (2.0)
    // texts feed the wedge and offset factors.
    QTest::newRow("wedged asymmetric A, tray, offset") << R"([LAT]
Linac = DualDemo
Energy = 6MV
BeamName = LAT DX
BeamID = 3
BeamDose = 180
BeamDepth = 7
BeamLeft = 3
BeamRight = 7
BeamBottom = 6
BeamTop = 6
WedgeComp = W30
TrayComp = Tray-Block
isOffset = 1
)";
    QTest::newRow("fixed SSD asymmetric B, shift 98, entries made on the fly") << R"([AP]
Linac = DualDemo
Energy = 6MV
Technique = 1
BeamDose = 150
BeamDepth = 8
BeamSSD = 95
BeamRealSSD = 95.5
BeamWidthAsymm = 12
BeamHeightAsymm = 8
BeamAsymmWidth = 98
BeamAsymmHeight = 1.5
ShieldComp = S1 : 0.95
MultileafComp = M1 : 0.98
isOffset = 1
)";
}

void PhotonBeamDialogTest::sameMuAsKovaMu() {
    QFETCH(QString, beamText);
    std::vector<kova::InputError> errors;
    const auto blocks = kova::ParseBeamText("row", beamText.toStdString(), errors);
    std::vector<std::unique_ptr<kova::TLinacSpec>> linacs;
    linacs.push_back(std::make_unique<kova::TLinacSpec>());
    QVERIFY(kova::ReadLinacText(DemoLinacText(), *linacs.front()).accepted());
    QCOMPARE(blocks.size(), std::size_t{1});
    auto resolved = kova::ResolveBeam(blocks.front(), linacs, errors);
    QVERIFY(resolved && errors.empty());
    const kova::BeamOutcome batch = kova::ComputeBeam(*resolved, kova::SystemToday());
    QVERIFY2(batch.computed, batch.reason.c_str());

    kova::TTreatment treatment;
    treatment.linac = linacs.front().get();
    treatment.gEnergy = linacs.front()->gEnergies.front().get(); // 6MV
    kova::TPhotonBeam beam;
    beam.machine = treatment.Machine();
    PhotonBeamDialog dialog(beam);
    dialog.show();
    TypeBeam(dialog, blocks.front());
    PressOK(dialog);
    QVERIFY2(dialog.result() == QDialog::Accepted, qPrintable(Reason(dialog)));
    const auto& computed = static_cast<const kova::TPhotonBeam&>(*batch.beam);
    QVERIFY(IsNear(beam.MU, computed.MU));
    QVERIFY(IsNear(beam.equivSize, computed.equivSize));
    QVERIFY(IsNear(beam.offset, computed.offset));
    QVERIFY(beam.offset > 0 && !beam.offsetOff);
    QCOMPARE(beam.name, computed.name);
    QVERIFY(beam.sheet == computed.sheet);
}

KOVA_GUI_TEST(PhotonBeamDialogTest)
#include "photon_beam_dialog_test.moc"
