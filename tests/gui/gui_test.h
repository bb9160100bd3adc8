#pragma once

// Every QtTest class of the desktop program is built into one program, kova_gui_tests, which
// compiles the widgets' headers and links kova_gui once. Each class registers itself with
// KOVA_GUI_TEST(Class) in place of QTEST_MAIN(Class); `kova_gui_tests Class [QtTest options]`
// runs that one class as QTEST_MAIN would, so CTest still runs the classes side by side, each
// in its own process with its own QApplication, and reports them apart.

#include <QApplication>
#include <QTest>

namespace kova::guitest {

/// Runs one QtTest class: argv[0] is the program, the rest QtTest's own options.
using TestMain = int (*)(int argc, char** argv);

/// Adds a class to the program under `name`; returns true so that a static can hold it.
bool RegisterTestClass(const char* name, TestMain run);

} // namespace kova::guitest

// The body of QTEST_MAIN: the class's initMain, the application, the source path that
// QFINDTESTDATA starts from (this file's), then the class's test functions.
#define KOVA_GUI_TEST(TestObject)                                                                  \
    static int RunTestClass##TestObject(int argc, char** argv) {                                   \
        QTest::Internal::callInitMain<TestObject>();                                               \
        QTEST_MAIN_SETUP()                                                                         \
        TestObject testObject;                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&testObject, argc, argv);                                              \
    }                                                                                              \
    [[maybe_unused]] static const bool kRegistered##TestObject =                                   \
        kova::guitest::RegisterTestClass(#TestObject, &RunTestClass##TestObject);
