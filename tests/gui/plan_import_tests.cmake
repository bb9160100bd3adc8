# Checking a plan in the desktop program: "Import RT Plan..." and the action levels, offscreen
# on the demo linacs and the test plans. Included from plan_tests.cmake when the GUI is built.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_plan_import_tests
    ${CMAKE_CURRENT_LIST_DIR}/plan_import_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_flows.h ${CMAKE_CURRENT_LIST_DIR}/window_flows.cpp)
set_target_properties(kova_plan_import_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_plan_import_tests PRIVATE kova_gui kova_plan_test_support
                                                     kova_test_support Qt6::Test kova_options)
target_compile_definitions(kova_plan_import_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs"
    KOVA_RTPLAN_DIR="${KOVA_RTPLAN_DIR}"
    KOVA_PYDICOM_TEST_FILES="${KOVA_PYDICOM_TEST_FILES}")
add_dependencies(kova_plan_import_tests demo_linacs rtplan_test_files)
add_test(NAME PlanImportTest COMMAND kova_plan_import_tests)
set_tests_properties(PlanImportTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
