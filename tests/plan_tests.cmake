# Checking a planning system's plan: the leaf opening, the plan import on the demo linacs,
# the DICOM RT Plan reader and kova-mu --rtplan. Included from tests/CMakeLists.txt.

# The test plans are readable DCMTK dumps (tests/data/rtplan/*.dump) turned into DICOM files
# by dump2dcm at build time.
find_program(KOVA_DUMP2DCM dump2dcm REQUIRED)
set(KOVA_RTPLAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/rtplan)
file(GLOB KOVA_RTPLAN_DUMPS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/data/rtplan/*.dump)
set(KOVA_RTPLAN_FILES)
foreach(dump ${KOVA_RTPLAN_DUMPS})
    get_filename_component(name ${dump} NAME_WE)
    set(plan ${KOVA_RTPLAN_DIR}/${name}.dcm)
    add_custom_command(OUTPUT ${plan}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KOVA_RTPLAN_DIR}
        COMMAND ${KOVA_DUMP2DCM} --quiet --write-xfer-little ${dump} ${plan}
        DEPENDS ${dump}
        COMMENT "dump2dcm ${name}.dump")
    list(APPEND KOVA_RTPLAN_FILES ${plan})
endforeach()
# The same plan as a bare data set in implicit VR and as a file in explicit VR big endian.
foreach(variant "dataset_implicit;-F;+ti" "big_endian;+F;+tb")
    list(GET variant 0 suffix)
    list(GET variant 1 format)
    list(GET variant 2 syntax)
    set(plan ${KOVA_RTPLAN_DIR}/wedged_${suffix}.dcm)
    add_custom_command(OUTPUT ${plan}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KOVA_RTPLAN_DIR}
        COMMAND ${KOVA_DUMP2DCM} --quiet ${format} ${syntax}
                ${CMAKE_CURRENT_LIST_DIR}/data/rtplan/wedged.dump ${plan}
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/data/rtplan/wedged.dump
        COMMENT "dump2dcm wedged.dump (${suffix})")
    list(APPEND KOVA_RTPLAN_FILES ${plan})
endforeach()
add_custom_target(rtplan_test_files DEPENDS ${KOVA_RTPLAN_FILES})

# pydicom's public RT Plan test file, read where Debian's python3-pydicom installs it; it is
# never copied into the repository.
find_path(KOVA_PYDICOM_TEST_FILES rtplan.dcm
    PATHS /usr/lib/python3/dist-packages/pydicom/data/test_files NO_DEFAULT_PATH)
if(NOT KOVA_PYDICOM_TEST_FILES)
    message(WARNING "pydicom's rtplan.dcm not found: install python3-pydicom (scripts/deps.sh)")
    set(KOVA_PYDICOM_TEST_FILES "")
endif()

add_library(kova_plan_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/support/demo_linacs.h
    ${CMAKE_CURRENT_LIST_DIR}/support/demo_linacs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/support/test_plans.h
    ${CMAKE_CURRENT_LIST_DIR}/support/test_plans.cpp)
target_include_directories(kova_plan_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kova_plan_test_support PUBLIC kova_core GTest::gtest PRIVATE kova_options)
target_compile_definitions(kova_plan_test_support PRIVATE
    KOVA_DEMO_LINACS_DIR="${PROJECT_SOURCE_DIR}/data/linacs")

find_package(nlohmann_json 3 REQUIRED)
add_executable(kova_plan_tests
    ${CMAKE_CURRENT_LIST_DIR}/core/leaf_opening_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/plan_import_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/plan_questions_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/plan_workbench_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dicom/rt_plan_reader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tools/kova_mu_plan_test.cpp)
target_link_libraries(kova_plan_tests PRIVATE kova_plan_test_support kova_test_support kova_dicom
                                              nlohmann_json::nlohmann_json
                                              kova_core kova_options GTest::gtest_main)
target_compile_definitions(kova_plan_tests PRIVATE
    KOVA_RTPLAN_DIR="${KOVA_RTPLAN_DIR}"
    KOVA_PYDICOM_TEST_FILES="${KOVA_PYDICOM_TEST_FILES}"
    KOVA_MU_PROGRAM="$<TARGET_FILE:kova-mu>"
    KOVA_LINACS_DIR="${PROJECT_BINARY_DIR}/Linacs")
add_dependencies(kova_plan_tests rtplan_test_files kova-mu demo_linacs)
gtest_discover_tests(kova_plan_tests)

if(TARGET kova_gui)
    include(${CMAKE_CURRENT_LIST_DIR}/gui/plan_import_tests.cmake)
endif()
