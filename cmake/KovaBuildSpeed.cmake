# What makes a build quicker without changing what it checks: ccache when asked for and
# installed, precompiled headers for the toolkit's and GoogleTest's headers (clang), line-table
# debug information and unoptimized test code when a build asks for them (CI does).

# ccache serves unchanged files from its cache on the next build. Never required: without it
# (a fresh CI machine) the option only says so.
option(KOVA_CCACHE "Compile through ccache when it is installed" OFF)
if(KOVA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(KOVA_CCACHE_PROGRAM ccache)
    if(KOVA_CCACHE_PROGRAM)
        set(CMAKE_CXX_COMPILER_LAUNCHER ${KOVA_CCACHE_PROGRAM})
    else()
        message(STATUS "ccache not found: compiling without it")
    endif()
endif()

# Precompiled headers pay on a clang build from scratch (they save a third to a half of the
# compile time of a Qt file, a fifth of a GoogleTest file). Off by default:
# - with gcc (12): code of libstdc++ restored from a precompiled header loses its system-header
#   status, so false -Warray-bounds reports inside std::string, silenced without one, fail a
#   -Werror build;
# - with ccache, which cannot cache a file compiled with one (unless made sloppy about macros
#   and time stamps) and serves unchanged files anyway.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND NOT CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(kova_pch_default ON)
else()
    set(kova_pch_default OFF)
endif()
option(KOVA_PCH "Precompiled headers for the Qt and GoogleTest headers" ${kova_pch_default})

# The Qt headers most windows and their tests include (kova_gui, kova_gui_tests).
set(KOVA_QT_PCH_HEADERS
    <QAction> <QApplication> <QBoxLayout> <QCheckBox> <QComboBox> <QDialog> <QDir> <QFile>
    <QGridLayout> <QGroupBox> <QLabel> <QLineEdit> <QMenu> <QPainter> <QPushButton>
    <QRadioButton> <QString> <QTreeView>)

# GoogleTest's header and what it brings, for the GoogleTest programs.
set(KOVA_GTEST_PCH_HEADERS <gtest/gtest.h> <string> <vector>)

# kova_precompile(target header...): the headers compiled once for the whole target.
function(kova_precompile target)
    if(KOVA_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()

# Debug information with line tables only: what backtraces and sanitizer reports show (file,
# line, function), without the types and variables a debugger needs; a fifth to a quarter
# less compile time and much smaller objects to link.
option(KOVA_LIGHT_DEBUG_INFO "Debug information with line tables only" OFF)
if(KOVA_LIGHT_DEBUG_INFO)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(kova_line_tables -gline-tables-only)
    else()
        set(kova_line_tables -g1)
    endif()
    target_compile_options(kova_options INTERFACE
        $<$<CONFIG:Debug,RelWithDebInfo>:${kova_line_tables}>)
endif()

# The test programs' own code compiled without optimization, which halves its compile time;
# the libraries they test keep the build type's flags. For clang builds: clang's warnings do
# not depend on optimization, while some of gcc's (-Wmaybe-uninitialized, -Warray-bounds)
# need it.
option(KOVA_UNOPTIMIZED_TESTS "Compile the test programs' own code without optimization" OFF)

# kova_test_code(target): a target of test code (a test program or its helpers).
function(kova_test_code target)
    if(KOVA_UNOPTIMIZED_TESTS)
        target_compile_options(${target} PRIVATE -O0)
    endif()
endfunction()
