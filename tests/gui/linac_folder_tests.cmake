# The linac folder of the desktop program: "Linac folder...", the next start, the status bar
# and About; offscreen, with settings in a temporary file.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_linac_folder_tests
    ${CMAKE_CURRENT_LIST_DIR}/linac_folder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_flows.h ${CMAKE_CURRENT_LIST_DIR}/window_flows.cpp)
set_target_properties(kova_linac_folder_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_linac_folder_tests PRIVATE kova_gui kova_test_support Qt6::Test
                                                      kova_options)
add_test(NAME LinacFolderTest COMMAND kova_linac_folder_tests)
set_tests_properties(LinacFolderTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
