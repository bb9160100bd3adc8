# Installs the build into a temporary prefix with `cmake --install`, then checks the
# installed tree (check_installed_tree.cmake).
#   cmake -DBUILD_DIR=<build> -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch> -DWITH_GUI=ON|OFF
#         -DREFERENCE_MU=<build's kova-mu> -DREFERENCE_LINACS=<build/Linacs> -P install_test.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
    RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "FAILED: cmake --install (exit ${code}): ${err}")
endif()
set(PREFIX "${WORK_DIR}/prefix")
set(WORK_DIR "${WORK_DIR}/check")
include(${CMAKE_CURRENT_LIST_DIR}/check_installed_tree.cmake)
