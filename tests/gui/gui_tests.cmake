# kova_gui_tests: every QtTest class of the desktop program in one program (the widgets'
# headers compiled and kova_gui linked once). `kova_gui_tests Class` runs one class; each class
# is a CTest test of its own, run offscreen. Included from tests/CMakeLists.txt with the GUI.
find_package(Qt6 REQUIRED COMPONENTS Test)
find_program(KOVA_PDFTOTEXT pdftotext REQUIRED)

# CTest name and source file of each class.
set(KOVA_GUI_TEST_CLASSES
    PhotonBeamDialogTest photon_beam_dialog_test
    BeamKindDialogsTest beam_kind_dialogs_test
    MLCDialogsTest mlc_dialogs_test
    MainWindowTest main_window_test
    LinacWindowTest linac_window_test
    DesktopTest desktop_test
    LinacFolderTest linac_folder_test
    PlanImportTest plan_import_test
    PrintTest print_test
    HistoryWindowTest history_window_test
    EnergyPlotsTest energy_plots_test)

add_executable(kova_gui_tests
    ${CMAKE_CURRENT_LIST_DIR}/gui_test.h ${CMAKE_CURRENT_LIST_DIR}/gui_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_flows.h ${CMAKE_CURRENT_LIST_DIR}/window_flows.cpp)
set_target_properties(kova_gui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(kova_gui_tests PRIVATE kova_gui kova_test_support Qt6::Test kova_options)
target_compile_definitions(kova_gui_tests PRIVATE
    KOVA_MLC_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data/mlc"
    KOVA_LNC_PROGRAM="$<TARGET_FILE:lnc>"
    KOVA_RTPLAN_DIR="${KOVA_RTPLAN_DIR}"
    KOVA_PYDICOM_TEST_FILES="${KOVA_PYDICOM_TEST_FILES}"
    KOVA_PDFTOTEXT="${KOVA_PDFTOTEXT}")
add_dependencies(kova_gui_tests demo_linacs lnc rtplan_test_files)

set(classes ${KOVA_GUI_TEST_CLASSES})
while(classes)
    list(POP_FRONT classes class source)
    target_sources(kova_gui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/${source}.cpp)
    add_test(NAME ${class} COMMAND kova_gui_tests ${class})
    set_tests_properties(${class} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endwhile()

# The dialog tests read the demo linac texts as they are; the window tests the linacs the
# build packed, as the program does.
set_source_files_properties(
    ${CMAKE_CURRENT_LIST_DIR}/photon_beam_dialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/beam_kind_dialogs_test.cpp
    PROPERTIES COMPILE_DEFINITIONS KOVA_DEMO_LINACS_DIR="${PROJECT_SOURCE_DIR}/data/linacs")
set_source_files_properties(
    ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linac_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/plan_import_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/energy_plots_test.cpp
    PROPERTIES COMPILE_DEFINITIONS KOVA_DEMO_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs")
