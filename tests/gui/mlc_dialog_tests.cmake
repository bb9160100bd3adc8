# The two multileaf dialogs (field list, jaws choice), driven offscreen through Dialogs.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_mlc_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/mlc_dialogs_test.cpp)
set_target_properties(kova_mlc_dialog_tests PROPERTIES AUTOMOC ON)
target_compile_definitions(kova_mlc_dialog_tests PRIVATE
    KOVA_MLC_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/../data/mlc")
target_link_libraries(kova_mlc_dialog_tests PRIVATE kova_gui Qt6::Test kova_options)
add_test(NAME MLCDialogsTest COMMAND kova_mlc_dialog_tests)
set_tests_properties(MLCDialogsTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
