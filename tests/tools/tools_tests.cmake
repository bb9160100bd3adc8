# The command-line tools. kova_tools_tests: kova-mu's library (beam files, JSON, the report
# request, the plan check) and the real kova-mu program on the examples over the demo linacs
# of this build, refusing plug-ins it cannot use; its PDF reports, read back with pdftotext,
# only with the report plug-in (built with the desktop program's Qt). lnc_tool: the real lnc
# program. Included from tests/CMakeLists.txt.
find_package(nlohmann_json 3 REQUIRED)
add_executable(kova_tools_tests
    ${CMAKE_CURRENT_LIST_DIR}/kova_mu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/report_request_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kova_mu_plan_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kova_mu_plugin_test.cpp)
target_link_libraries(kova_tools_tests PRIVATE kova_mu_lib kova_test_support kova_core
                                               nlohmann_json::nlohmann_json kova_options
                                               GTest::gtest_main)
target_compile_definitions(kova_tools_tests PRIVATE
    KOVA_MU_PROGRAM="$<TARGET_FILE:kova-mu>"
    KOVA_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs"
    KOVA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    KOVA_MLC_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data/mlc"
    KOVA_RTPLAN_DIR="${KOVA_RTPLAN_DIR}"
    KOVA_PYDICOM_TEST_FILES="${KOVA_PYDICOM_TEST_FILES}"
    KOVA_OTHER_PLUGIN="$<TARGET_FILE:kova_mu_other_version_plugin>"
    KOVA_MU_REPORT_PLUGIN=$<BOOL:$<TARGET_EXISTS:kova_mu_report>>)
add_dependencies(kova_tools_tests kova-mu demo_linacs rtplan_test_files
                 kova_mu_other_version_plugin)

# A plug-in of the next interface version, which kova-mu refuses.
add_library(kova_mu_other_version_plugin MODULE ${CMAKE_CURRENT_LIST_DIR}/other_version_plugin.cpp)
target_include_directories(kova_mu_other_version_plugin PRIVATE ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(kova_mu_other_version_plugin PRIVATE kova_core kova_options)
if(TARGET kova_gui)
    find_program(KOVA_PDFTOTEXT pdftotext REQUIRED)
    target_sources(kova_tools_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/kova_mu_report_test.cpp)
    target_compile_definitions(kova_tools_tests PRIVATE KOVA_PDFTOTEXT="${KOVA_PDFTOTEXT}")
endif()
# --record and --history against a real SQLite file, with the record plug-in.
if(TARGET kova_mu_record)
    target_sources(kova_tools_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/kova_mu_record_test.cpp)
endif()
gtest_discover_tests(kova_tools_tests)

# The real lnc program: pack, unpack and dump round trips, and its exit codes.
add_test(NAME lnc_tool
    COMMAND ${CMAKE_COMMAND} -DLNC=$<TARGET_FILE:lnc>
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/lnc_tool_work
            -P ${CMAKE_CURRENT_LIST_DIR}/lnc_test.cmake)
