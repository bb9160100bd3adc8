# The main window and the workbench tree, driven through their real widgets offscreen.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_main_window_tests ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp)
set_target_properties(kova_main_window_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_main_window_tests PRIVATE kova_gui kova_test_support Qt6::Test
                                                     kova_options)
# The demo linacs, packed by the build, for the first-use scenario.
target_compile_definitions(kova_main_window_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs")
add_dependencies(kova_main_window_tests demo_linacs)
add_test(NAME MainWindowTest COMMAND kova_main_window_tests)
set_tests_properties(MainWindowTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
