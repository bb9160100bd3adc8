// The two multileaf dialogs, driven through their real widgets as gui::Dialogs shows them:
// picking a field of a planning-system file, and choosing how the jaws follow it.

#include "core/mlc/mlc_file.h"
#include "gui/dialogs.h"
#include "gui/gui_test.h"
#include "gui/qt_text.h"
#include "gui/select_mlc_choice_dialog.h"
#include "gui/select_mlc_field_dialog.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>

using kova::gui::Dialogs;
using kova::gui::MLCJawsChoice;
using kova::gui::SelectMLCChoiceDialog;
using kova::gui::SelectMLCFieldDialog;

namespace {

kova::MLCFieldList PlanFields() {
    const kova::Result<kova::MLCFieldList> list = kova::ReadMLCFile(KOVA_MLC_DATA_DIR "/plan.mlc");
    if (!list) {
        qFatal("test file refused: %s", list.reason().c_str());
    }
    return *list;
}

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromLatin1(text);
    }
    return list;
}

/// The next modal window is `T`: `drive` works its widgets; the answer is its result.
template <class T>
void Answer(std::function<void(T&)> drive) {
    Dialogs::SetExecHook([drive](QDialog& dialog) {
        auto* typed = qobject_cast<T*>(&dialog);
        if (typed == nullptr) {
            return int(QDialog::Rejected);
        }
        dialog.show();
        drive(*typed);
        return dialog.result();
    });
}

/// Limits of the choice: reference fields 5 x 5 and 20 x 20 make the usable width and
/// height 5 to 20 cm; X jaws -2 to 20, Y jaws -10 to 20.
std::unique_ptr<kova::TgEnergy> ChoiceEnergy() {
    auto energy = std::make_unique<kova::TgEnergy>();
    energy->MLCSupported = true;
    energy->MinWidth = energy->MinHeight = 1;
    energy->MaxWidth = energy->MaxHeight = 40;
    energy->MinLeft = energy->MinRight = -2;
    energy->MaxLeft = energy->MaxRight = 20;
    energy->MinBottom = energy->MinTop = -10;
    energy->MaxBottom = energy->MaxTop = 20;
    for (double size : {5.0, 20.0}) {
        auto field = std::make_unique<kova::RefField>();
        field->Width = field->Height = size;
        energy->RefFields.push_back(std::move(field));
    }
    return energy;
}

} // namespace

class MLCDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
    }
    void cleanup() { Dialogs::SetExecHook(nullptr); }

    void fieldListShowsEveryField();
    void pickAFieldInTheDetailView();
    void pickAFieldByDoubleClickAndCancel();
    void choice_data();
    void choice();
};

void MLCDialogsTest::fieldListShowsEveryField() {
    const kova::MLCFieldList list = PlanFields();
    SelectMLCFieldDialog dialog(list);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select a Multileaf Field"));
    QCOMPARE(dialog.FileLabel->text(), QStringLiteral("plan.mlc"));
    QCOMPARE(dialog.MLCFileName(), std::string("plan.mlc"));
    QCOMPARE(dialog.selectedIndex(), 0); // the first field is selected

    const QAbstractItemModel* model = dialog.FieldDetailView->model();
    QCOMPARE(model->rowCount(), 4);
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
        headers << model->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, Texts({"Field Name", "Field Gantry", "Field Area", "Field Left",
                             "Field Right", "Field Bottom", "Field Top", "Field Perimeter"}));
    // The off-axis 8 x 6 field (worked out in the core tests): a = 48, p = 28.
    QStringList row;
    for (int c = 0; c < model->columnCount(); ++c) {
        row << model->index(1, c).data().toString();
    }
    QCOMPARE(row, Texts({" Off axis 8x6", "90", "48", "2.8", "6.8", "-0.8", "7.2", "28"}));

    // Each icon is the field's picture, pixel for pixel.
    QCOMPARE(dialog.FieldListView->viewMode(), QListView::IconMode);
    for (int r = 0; r < model->rowCount(); ++r) {
        const QIcon icon = model->index(r, 0).data(Qt::DecorationRole).value<QIcon>();
        const QImage image = icon.pixmap(QSize(64, 64)).toImage();
        QCOMPARE(image.size(), QSize(64, 64));
        const kova::MLCPicture& picture = list.fields[static_cast<std::size_t>(r)].picture;
        int differing = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool black = qGray(image.pixel(x, y)) < 128;
                differing += black != picture.IsBlack(x, y) ? 1 : 0;
            }
        }
        QCOMPARE(differing, 0);
    }
}

void MLCDialogsTest::pickAFieldInTheDetailView() {
    const kova::MLCFieldList list = PlanFields();
    SelectMLCFieldDialog dialog(list);
    Answer<SelectMLCFieldDialog>([](SelectMLCFieldDialog& d) {
        d.DetailsBtn->click();
        QTreeView* details = d.FieldDetailView;
        QVERIFY(details->isVisible());
        const QRect cell = details->visualRect(details->model()->index(3, 2));
        QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, cell.center());
        d.OKBtn->click();
    });
    QCOMPARE(Dialogs::Exec(dialog), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedIndex(), 3);
    QVERIFY(dialog.selectedField() != nullptr);
    QCOMPARE(dialog.selectedField()->name, std::string(" Irregular"));
    // The icon view shares the selection.
    QCOMPARE(dialog.FieldListView->currentIndex().row(), 3);
}

void MLCDialogsTest::pickAFieldByDoubleClickAndCancel() {
    const kova::MLCFieldList list = PlanFields();
    SelectMLCFieldDialog dialog(list);
    Answer<SelectMLCFieldDialog>([](SelectMLCFieldDialog& d) {
        QListView* icons = d.FieldListView;
        const QRect item = icons->visualRect(icons->model()->index(2, 0));
        QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(icons->viewport(), Qt::LeftButton, {}, item.center());
    });
    QCOMPARE(Dialogs::Exec(dialog), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedField()->name, std::string(" Split at pair 12"));

    SelectMLCFieldDialog again(list);
    Answer<SelectMLCFieldDialog>([](SelectMLCFieldDialog& d) { d.CancelBtn->click(); });
    QCOMPARE(Dialogs::Exec(again), int(QDialog::Rejected));
}

void MLCDialogsTest::choice_data() {
    QTest::addColumn<double>("width");  // the current jaws: width, height, left, right,
    QTest::addColumn<double>("height"); // bottom, top
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("top");
    QTest::addColumn<QString>("press"); // the buttons pressed in turn, or "Esc"
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("reason"); // why "Use current" is off; empty when it is on

    const int cancel = int(MLCJawsChoice::Cancel);
    const int recommended = int(MLCJawsChoice::Recommended);
    const int current = int(MLCJawsChoice::UseCurrent);
    QTest::newRow("use current") << 10.0 << 10.0 << 5.0 << 5.0 << 5.0 << 5.0 << "CurBtn" << current
                                 << "";
    QTest::newRow("on every bound")
        << 20.0 << 5.0 << -2.0 << 20.0 << -10.0 << 20.0 << "CurBtn" << current << "";
    QTest::newRow("recommended") << 10.0 << 10.0 << 5.0 << 5.0 << 5.0 << 5.0 << "RecBtn"
                                 << recommended << "";
    // 30 cm is within the energy's 40 but beyond the largest reference field: the disabled
    // button does nothing, Recommended still works.
    QTest::newRow("too wide") << 30.0 << 10.0 << 15.0 << 15.0 << 5.0 << 5.0 << "CurBtn RecBtn"
                              << recommended
                              << "the current width 30 cm is not within 5 cm to 20 cm";
    QTest::newRow("jaw beyond its limit")
        << 10.0 << 10.0 << -3.0 << 13.0 << 5.0 << 5.0 << "CurBtn CancelBtn" << cancel
        << "the current left jaw -3 cm is not within -2 cm to 20 cm";
    QTest::newRow("escape") << 10.0 << 10.0 << 5.0 << 5.0 << 5.0 << 5.0 << "Esc" << cancel << "";
}

void MLCDialogsTest::choice() {
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(double, bottom);
    QFETCH(double, top);
    QFETCH(QString, press);
    QFETCH(int, choice);
    QFETCH(QString, reason);

    const auto energy = ChoiceEnergy();
    SelectMLCChoiceDialog dialog(*energy,
                                 kova::JawSettings{left, right, bottom, top, width, height});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("MLC Jaws Settings"));
    // One sentence says what the buttons answer.
    QVERIFY(dialog.Question->text().startsWith(QStringLiteral("Which jaws should the beam use")));
    QVERIFY(dialog.Question->text().endsWith(u'?'));
    QCOMPARE(dialog.Question->text().count(u'?'), 1);
    QCOMPARE(dialog.RecBtn->text(), QStringLiteral("Recommended"));
    QCOMPARE(dialog.CurBtn->text(), QStringLiteral("Use current"));
    QCOMPARE(dialog.CancelBtn->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.CurBtn->isEnabled(), reason.isEmpty());
    QCOMPARE(dialog.ReasonLine->text(), reason);
    Answer<SelectMLCChoiceDialog>([press](SelectMLCChoiceDialog& d) {
        QCOMPARE(d.focusWidget(), d.RecBtn);
        for (const QString& button : press.split(QLatin1Char(' '))) {
            if (button == QLatin1String("Esc")) {
                QTest::keyClick(&d, Qt::Key_Escape);
            } else {
                QTest::mouseClick(d.findChild<QPushButton*>(button), Qt::LeftButton);
            }
        }
    });
    QCOMPARE(int(SelectMLCChoiceDialog::ChoiceOf(Dialogs::Exec(dialog))), choice);
    QCOMPARE(int(dialog.choice()), choice);
}

KOVA_GUI_TEST(MLCDialogsTest)
#include "mlc_dialogs_test.moc"
