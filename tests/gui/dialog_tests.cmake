# QtTest programs for the dialogs. They drive the real widgets offscreen and answer modal
# windows through Dialogs::SetExecHook.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(kova_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/photon_beam_dialog_test.cpp)
set_target_properties(kova_dialog_tests PROPERTIES AUTOMOC ON)
# The demo linac texts, read as they are (no packing needed).
target_compile_definitions(kova_dialog_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_SOURCE_DIR}/data/linacs"
    KOVA_MLC_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/../data/mlc")
target_link_libraries(kova_dialog_tests PRIVATE kova_gui kova_mu_lib kova_test_support
                                                Qt6::Test kova_options)
add_test(NAME PhotonBeamDialogTest COMMAND kova_dialog_tests)
set_tests_properties(PhotonBeamDialogTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

add_executable(kova_beam_kind_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/beam_kind_dialogs_test.cpp)
set_target_properties(kova_beam_kind_dialog_tests PROPERTIES AUTOMOC ON)
target_compile_definitions(kova_beam_kind_dialog_tests PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_SOURCE_DIR}/data/linacs")
target_link_libraries(kova_beam_kind_dialog_tests PRIVATE kova_gui kova_test_support Qt6::Test
                                                          kova_options)
add_test(NAME BeamKindDialogsTest COMMAND kova_beam_kind_dialog_tests)
set_tests_properties(BeamKindDialogsTest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
