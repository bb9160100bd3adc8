# The desktop program for daily use: the workbench file across a restart, menus, keys, the
# tree's mouse and drop behaviour, Help, titles, size and place; offscreen on the demo linacs.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_desktop_tests
    ${CMAKE_CURRENT_LIST_DIR}/desktop_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_flows.h ${CMAKE_CURRENT_LIST_DIR}/window_flows.cpp)
set_target_properties(kova_desktop_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_desktop_tests PRIVATE kova_gui kova_test_support Qt6::Test
                                                 kova_options)
target_compile_definitions(kova_desktop_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs")
add_dependencies(kova_desktop_tests demo_linacs)
add_test(NAME DesktopTest COMMAND kova_desktop_tests)
set_tests_properties(DesktopTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
