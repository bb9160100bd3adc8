# Multileaf fields: the Shaper and PLATO readers, field geometry and picture, multileaf factors
# and jaws. Included from tests/CMakeLists.txt.
add_executable(kova_mlc_tests ${CMAKE_CURRENT_LIST_DIR}/core/mlc_test.cpp)
target_link_libraries(kova_mlc_tests PRIVATE kova_test_support kova_core kova_options
                                             GTest::gtest_main)
# The hand-made planning-system files the tests read.
target_compile_definitions(kova_mlc_tests PRIVATE
    KOVA_MLC_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data/mlc")
gtest_discover_tests(kova_mlc_tests)
