# `format` rewrites every C++ file with the committed .clang-format;
# `format-check` fails when any file would change (CI runs it).
find_program(CLANG_FORMAT_EXE NAMES clang-format clang-format-14 clang-format-15 clang-format-16)
if(CLANG_FORMAT_EXE)
    file(GLOB_RECURSE KOVA_FORMAT_SOURCES CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
        ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h
        ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
        ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h)
    add_custom_target(format
        COMMAND ${CLANG_FORMAT_EXE} -i ${KOVA_FORMAT_SOURCES}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Formatting C++ sources")
    add_custom_target(format-check
        COMMAND ${CLANG_FORMAT_EXE} --dry-run --Werror ${KOVA_FORMAT_SOURCES}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Checking C++ formatting")
endif()
