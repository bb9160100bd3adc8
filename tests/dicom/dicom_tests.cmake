# The DICOM RT Plan reader (kova_dicom) and the test plans every plan test reads. Included from
# tests/CMakeLists.txt.

# The test plans are readable DCMTK dumps (tests/data/rtplan/*.dump) turned into DICOM files
# by dump2dcm at build time.
find_program(KOVA_DUMP2DCM dump2dcm REQUIRED)
set(KOVA_RTPLAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/rtplan)
file(GLOB KOVA_RTPLAN_DUMPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/data/rtplan/*.dump)
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
                ${PROJECT_SOURCE_DIR}/tests/data/rtplan/wedged.dump ${plan}
        DEPENDS ${PROJECT_SOURCE_DIR}/tests/data/rtplan/wedged.dump
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

add_executable(kova_dicom_tests ${CMAKE_CURRENT_LIST_DIR}/rt_plan_reader_test.cpp)
target_link_libraries(kova_dicom_tests PRIVATE kova_test_support kova_dicom kova_core
                                               kova_options GTest::gtest_main)
target_compile_definitions(kova_dicom_tests PRIVATE
    KOVA_RTPLAN_DIR="${KOVA_RTPLAN_DIR}"
    KOVA_PYDICOM_TEST_FILES="${KOVA_PYDICOM_TEST_FILES}")
add_dependencies(kova_dicom_tests rtplan_test_files)
gtest_discover_tests(kova_dicom_tests)
