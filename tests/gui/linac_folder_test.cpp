// The linac folder of the desktop program, driven offscreen through its real widgets:
// "Linac folder..." keeps a department's folder in the (injected) settings, the next start
// without a Linacs folder reads it, and the status bar and About say which folder and why.

#include "core/linac/linac_folder_choice.h"
#include "gui/gui_test.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/window_flows.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

using kova::gui::Dialogs;
using kova::gui::MainWindow;
using namespace kova::guitest;

namespace {

const kova::ProgramInfo kInfo{"KOVA X", "0.1.0"};

QAction* LinacFolderAction(const MainWindow& window) {
    const auto* file = window.menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"));
    for (QAction* action : file->actions()) {
        if (action->text() == u"Linac folder...") {
            return action;
        }
    }
    return nullptr;
}

/// Every file of the folder with its size and time, to see that nothing was written.
QStringList Listing(const std::filesystem::path& folder) {
    QStringList files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files << kova::gui::PathToQ(entry.path().filename().string()) + u' ' +
                     QString::number(entry.file_size()) + u' ' +
                     QString::number(entry.last_write_time().time_since_epoch().count());
    }
    files.sort();
    return files;
}

} // namespace

class LinacFolderTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Dialogs::ClearShownMessages();
        Dialogs::SetMessageAnswer(QMessageBox::Ok);
    }
    void cleanup() {
        Dialogs::SetExecHook({});
        Dialogs::SetOpenFileAnswer(std::nullopt);
    }

    void chosenFolderIsReadAtTheNextStart() {
        kova::test::TempDir root;
        const std::filesystem::path department = root.Path() / "physics" / "Linacs";
        std::filesystem::create_directories(department);
        kova::test::WriteLncFile(department, "Sala1.lnc", kova::test::LinacText{}.Text());
        QSettings settings(Folder(root) + u"/settings.ini", QSettings::IniFormat);
        {
            MainWindow window(kInfo, Folder(root));
            window.RememberGeometryIn(&settings);
            Dialogs::SetOpenFileAnswer(kova::gui::PathToQ(department.string()));
            DialogAnswer answer([](QDialog& dialog) {
                Press(dialog, "BrowseBtn");
                return Press(dialog, "OKBtn");
            });
            LinacFolderAction(window)->trigger();
            QVERIFY(window.statusBar()->currentMessage().contains(
                kova::gui::PathToQ(department.string())));
        }
        QCOMPARE(MainWindow::ChosenLinacFolder(settings), kova::gui::PathToQ(department.string()));

        // The next start, from a folder without Linacs, on a program that is not installed.
        const QStringList before = Listing(department);
        const kova::LinacFolderChoice choice =
            kova::ChooseLinacFolder(kova::FindLinacFolderCandidates(
                "", department.string(), root.Path() / "bin", root.Path()));
        MainWindow window(kInfo, kova::gui::PathToQ(choice.folder));
        window.SetLinacFolderReason(kova::gui::ToQ(choice.why),
                                    kova::gui::ToQ(kova::ShortWhy(choice.source)));
        window.ScanLinacs();
        QCOMPARE(window.LinacList().size(), std::size_t{1});
        QCOMPARE(window.LinacList()[0]->FileName, std::string("Sala1.lnc"));
        QVERIFY2(window.linacFolderLabel()->text().endsWith(u"(chosen folder)"),
                 qPrintable(window.linacFolderLabel()->text()));
        QVERIFY(window.linacFolderLabel()->toolTip().contains(u"File > Linac folder..."));
        window.AboutClick();
        const QString about = Dialogs::ShownMessages().last();
        QVERIFY2(about.contains(kova::gui::PathToQ(department.string()) +
                                u"\n(chosen with File > Linac folder..."),
                 qPrintable(about));
        QCOMPARE(Listing(department), before);
    }

    void onlyAWholePathOfAFolderIsKept() {
        kova::test::TempDir root;
        QSettings settings(Folder(root) + u"/settings.ini", QSettings::IniFormat);
        settings.setValue(QStringLiteral("LinacFolder"), Folder(root));
        MainWindow window(kInfo, Folder(root));
        window.RememberGeometryIn(&settings);
        QString shown;
        QString refusal;
        DialogAnswer answer([&shown, &refusal](QDialog& dialog) {
            shown = Edit(dialog, "Folder")->text();
            Type(dialog, "Folder", QStringLiteral("Linacs"));
            const int typed = Press(dialog, "OKBtn");
            refusal = dialog.findChild<QLabel*>(QStringLiteral("ReasonLine"))->text();
            if (typed == QDialog::Accepted) {
                return typed;
            }
            // Cleared: no folder chosen, the demo linacs are read again.
            Press(dialog, "ClearBtn");
            return Press(dialog, "OKBtn");
        });
        LinacFolderAction(window)->trigger();
        QCOMPARE(shown, Folder(root));
        QCOMPARE(refusal, QStringLiteral("Give the whole path of the folder, from / on: Linacs"));
        QVERIFY(!settings.contains(QStringLiteral("LinacFolder")));
        QVERIFY(window.statusBar()->currentMessage().contains(u"the demo linacs"));
    }

    void withoutSettingsNothingIsKept() {
        kova::test::TempDir root;
        MainWindow window(kInfo, Folder(root));
        QVERIFY(!LinacFolderAction(window)->isEnabled());
        QCOMPARE(window.linacFolderLabel()->text(),
                 u"Linacs: " + QDir::toNativeSeparators(Folder(root)));
    }
};

KOVA_GUI_TEST(LinacFolderTest)
#include "linac_folder_test.moc"
