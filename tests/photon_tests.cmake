# Photon lookups, photon beam geometry, calculation and result texts, and the kova-mu batch
# tool (its library and the real program). Included from tests/CMakeLists.txt.

# A small photon energy and linac built in C++ for beam tests.
add_library(kova_photon_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/support/photon_energy.h
    ${CMAKE_CURRENT_LIST_DIR}/support/photon_energy.cpp)
target_include_directories(kova_photon_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kova_photon_test_support PUBLIC kova_core PRIVATE kova_options)

add_executable(kova_photon_tests
    ${CMAKE_CURRENT_LIST_DIR}/core/photon_lookups_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/field_geometry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/photon_beam_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/photon_results_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/beam_kinds_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/tps_check_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tools/kova_mu_test.cpp)
target_link_libraries(kova_photon_tests PRIVATE kova_photon_test_support kova_test_support
                                                kova_core kova_mu_lib kova_options
                                                GTest::gtest_main)
# The program tests run the real kova-mu on the examples over the demo linacs of this build.
target_compile_definitions(kova_photon_tests PRIVATE
    KOVA_MU_PROGRAM="$<TARGET_FILE:kova-mu>"
    KOVA_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs"
    KOVA_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    KOVA_MLC_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data/mlc")
add_dependencies(kova_photon_tests kova-mu demo_linacs)
gtest_discover_tests(kova_photon_tests)
