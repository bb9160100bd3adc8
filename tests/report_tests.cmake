# The printed pages: label texts, the details report and the set-up sheet laid out on a
# recording canvas. Included from tests/CMakeLists.txt after photon_tests.cmake.

# A canvas with fixed metrics and a patient with computed photon beams, for the core tests
# and the print tests of the desktop program.
add_library(kova_report_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/support/recording_canvas.h
    ${CMAKE_CURRENT_LIST_DIR}/support/recording_canvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/support/report_patient.h
    ${CMAKE_CURRENT_LIST_DIR}/support/report_patient.cpp)
target_include_directories(kova_report_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kova_report_test_support PUBLIC kova_core kova_photon_test_support
                                               GTest::gtest PRIVATE kova_options)

add_executable(kova_report_tests
    ${CMAKE_CURRENT_LIST_DIR}/core/details_report_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/setup_sheet_test.cpp)
target_link_libraries(kova_report_tests PRIVATE kova_report_test_support kova_core kova_options
                                                GTest::gtest_main)
gtest_discover_tests(kova_report_tests)

# Printing from the desktop program to real PDF files, read back with pdftotext.
if(TARGET kova_gui)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    find_program(KOVA_PDFTOTEXT pdftotext REQUIRED)
    add_executable(kova_print_tests ${CMAKE_CURRENT_LIST_DIR}/gui/print_test.cpp)
    set_target_properties(kova_print_tests PROPERTIES AUTOMOC ON)
    target_compile_definitions(kova_print_tests PRIVATE KOVA_PDFTOTEXT="${KOVA_PDFTOTEXT}")
    target_link_libraries(kova_print_tests PRIVATE kova_gui kova_report_test_support
                                                   kova_test_support Qt6::Test kova_options)
    add_test(NAME PrintTest COMMAND kova_print_tests)
    set_tests_properties(PrintTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
