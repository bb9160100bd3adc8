# The linac window, the energy windows and the entry editors, reached from the main window's
# "Linacs" menu and driven through their real widgets offscreen.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_linac_window_tests
    ${CMAKE_CURRENT_LIST_DIR}/linac_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_flows.h ${CMAKE_CURRENT_LIST_DIR}/window_flows.cpp)
set_target_properties(kova_linac_window_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_linac_window_tests PRIVATE kova_gui kova_test_support Qt6::Test
                                                      kova_options)
# The demo linacs packed by the build, and the lnc program that reads a saved copy back.
target_compile_definitions(kova_linac_window_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs"
    KOVA_LNC_PROGRAM="$<TARGET_FILE:lnc>")
add_dependencies(kova_linac_window_tests demo_linacs lnc)
add_test(NAME LinacWindowTest COMMAND kova_linac_window_tests)
set_tests_properties(LinacWindowTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
