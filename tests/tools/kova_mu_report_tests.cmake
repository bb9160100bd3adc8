# kova-mu's report: the patient it prints from the beams of its beam files (always), and the
# real program writing PDF reports read back with pdftotext (only with the desktop program,
# whose print job --report uses); kova-mu refusing plug-ins it cannot use. Included from
# tests/CMakeLists.txt.

add_executable(kova_mu_report_tests
    ${CMAKE_CURRENT_LIST_DIR}/report_request_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kova_mu_plugin_test.cpp)
target_link_libraries(kova_mu_report_tests PRIVATE kova_mu_lib kova_test_support kova_core
                                                   kova_options GTest::gtest_main)

# A plug-in of the next interface version, which kova-mu refuses.
add_library(kova_mu_other_version_plugin MODULE ${CMAKE_CURRENT_LIST_DIR}/other_version_plugin.cpp)
target_include_directories(kova_mu_other_version_plugin PRIVATE ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(kova_mu_other_version_plugin PRIVATE kova_core kova_options)

target_compile_definitions(kova_mu_report_tests PRIVATE
    KOVA_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs"
    KOVA_MU_PROGRAM="$<TARGET_FILE:kova-mu>"
    KOVA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    KOVA_OTHER_PLUGIN="$<TARGET_FILE:kova_mu_other_version_plugin>"
    KOVA_MU_REPORT_PLUGIN=$<BOOL:$<TARGET_EXISTS:kova_mu_report>>)
add_dependencies(kova_mu_report_tests demo_linacs kova-mu kova_mu_other_version_plugin)

if(TARGET kova_gui)
    find_program(KOVA_PDFTOTEXT pdftotext REQUIRED)
    target_sources(kova_mu_report_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/kova_mu_report_test.cpp)
    target_compile_definitions(kova_mu_report_tests PRIVATE KOVA_PDFTOTEXT="${KOVA_PDFTOTEXT}")
endif()
gtest_discover_tests(kova_mu_report_tests)
