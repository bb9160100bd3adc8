# kova_core_tests: every GoogleTest of the core, one file per core module. It links the core
# and the test helpers only: no kova-mu, no Qt, no DCMTK. Included from tests/CMakeLists.txt.
file(GLOB KOVA_CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(kova_core_tests ${KOVA_CORE_TEST_SOURCES})
target_link_libraries(kova_core_tests PRIVATE kova_test_support kova_core kova_options
                                              GTest::gtest_main)
# Files the tests read where they are kept: the demo linac texts and the example beam files
# (workbench files), the hand-made planning-system files (multileaf fields).
target_compile_definitions(kova_core_tests PRIVATE
    KOVA_DEMO_LINAC_TEXTS="${PROJECT_SOURCE_DIR}/data/linacs"
    KOVA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    KOVA_MLC_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data/mlc")
gtest_discover_tests(kova_core_tests)
