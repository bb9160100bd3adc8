# Checks an installed KOVA X: its file list, and that the installed kova-mu computes the
# installed examples on the installed demo linacs exactly as the build's kova-mu does, finds
# ActionLevels.ini in the installation's configuration folder, points at the demo linacs
# when ./Linacs is missing and loads its plug-ins from PREFIX/lib/kovax.
#   cmake -DPREFIX=<installed prefix> -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch folder>
#         -DWITH_GUI=ON|OFF [-DREFERENCE_MU=<build's kova-mu> -DREFERENCE_LINACS=<build/Linacs>]
#         -P check_installed_tree.cmake
# Used by the install test (a `cmake --install` into a temporary prefix) and by
# scripts/package.sh (the Debian package extracted with dpkg -x).
cmake_minimum_required(VERSION 3.25)

foreach(required PREFIX SOURCE_DIR WORK_DIR)
    if(NOT ${required})
        message(FATAL_ERROR "check_installed_tree.cmake needs -D${required}=...")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(check condition message)
    cmake_language(EVAL CODE "
        if(NOT (${condition}))
            message(SEND_ERROR \"FAILED: \${message}\")
        endif()")
endfunction()

# ---------------------------------------------------------------- the file list
set(expected bin/kova-mu bin/lnc share/doc/kovax/README.md share/man/man1/kova-mu.1.gz
             share/man/man1/lnc.1.gz lib/kovax/kova_mu_dicom.so)
if(WITH_GUI)
    list(APPEND expected bin/kovax lib/kovax/kova_mu_report.so share/applications/kovax.desktop
                share/icons/hicolor/scalable/apps/kovax.svg share/man/man1/kovax.1.gz)
    foreach(size 16 22 24 32 48 64 128 256)
        list(APPEND expected share/icons/hicolor/${size}x${size}/apps/kovax.png)
    endforeach()
endif()
file(GLOB texts RELATIVE "${SOURCE_DIR}/data/linacs" "${SOURCE_DIR}/data/linacs/*.txt")
list(REMOVE_ITEM texts CMakeLists.txt)
foreach(text IN LISTS texts)
    string(REGEX REPLACE "\\.txt$" ".lnc" packed "${text}")
    list(APPEND expected share/kovax/Linacs/${packed})
endforeach()
# The MLC sidecars lie beside their linac files.
file(GLOB sidecars RELATIVE "${SOURCE_DIR}/data/linacs" "${SOURCE_DIR}/data/linacs/*.lnc.ini")
foreach(sidecar IN LISTS sidecars)
    list(APPEND expected share/kovax/Linacs/${sidecar})
endforeach()
file(GLOB examples RELATIVE "${SOURCE_DIR}/examples" "${SOURCE_DIR}/examples/*")
foreach(example IN LISTS examples)
    list(APPEND expected share/doc/kovax/examples/${example})
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT expected)
list(SORT installed)
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(unexpected ${installed})
list(REMOVE_ITEM unexpected ${expected})
check("\"${missing}\" STREQUAL \"\"" "missing from ${PREFIX}: ${missing}")
check("\"${unexpected}\" STREQUAL \"\"" "not expected in ${PREFIX}: ${unexpected}")

# ---------------------------------------------------------------- the installed programs
set(mu "${PREFIX}/bin/kova-mu")
set(demo "${PREFIX}/share/kovax/Linacs")
set(date --date 15/10/2026)
foreach(program kova-mu lnc)
    execute_process(COMMAND "${PREFIX}/bin/${program}" --version
        RESULT_VARIABLE code OUTPUT_VARIABLE out)
    check("code EQUAL 0 AND out MATCHES \"^${program} \\\\(KOVA X\\\\) \"" "${program} --version: ${out}")
endforeach()
if(WITH_GUI)
    # --version answers before the toolkit starts, so it needs no display.
    execute_process(COMMAND "${PREFIX}/bin/kovax" --version RESULT_VARIABLE code OUTPUT_VARIABLE out)
    check("code EQUAL 0 AND out MATCHES \"^kovax \\\\(KOVA X\\\\) \"" "kovax --version: ${out}")
endif()

foreach(example IN LISTS examples)
    if(NOT example MATCHES "\\.ini$")
        continue()
    endif()
    execute_process(COMMAND "${mu}" --linacs "${demo}" ${date}
                            "${PREFIX}/share/doc/kovax/examples/${example}"
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    check("code EQUAL 0" "installed kova-mu computes ${example} (exit ${code}: ${err})")
    check("out MATCHES \"== [^\\n]*: MU = [0-9]\"" "installed kova-mu writes the MU of ${example}")
    if(REFERENCE_MU)
        execute_process(COMMAND "${REFERENCE_MU}" --linacs "${REFERENCE_LINACS}" ${date}
                                "${SOURCE_DIR}/examples/${example}"
            OUTPUT_VARIABLE reference)
        check("out STREQUAL reference" "installed and built kova-mu agree on ${example}")
    endif()
endforeach()

# Without ./Linacs and without --linacs: a usage error that names the installed demo linacs.
execute_process(COMMAND "${mu}" "${SOURCE_DIR}/examples/demo_6mv.ini"
    WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE code ERROR_VARIABLE err)
string(FIND "${err}" "${demo}" at)
check("code EQUAL 2 AND NOT at EQUAL -1" "kova-mu without Linacs names ${demo} (${err})")

# The plug-ins of PREFIX/lib/kovax: DCMTK reads (and refuses) a file that is no DICOM data,
# and Qt prints the report of an example.
execute_process(COMMAND "${mu}" --linacs "${demo}" --rtplan "${SOURCE_DIR}/README.md"
    RESULT_VARIABLE code ERROR_VARIABLE err)
check("code EQUAL 2 AND err MATCHES \"is not readable DICOM data\""
      "installed kova-mu --rtplan reads with its plug-in (exit ${code}: ${err})")
if(WITH_GUI)
    execute_process(COMMAND "${mu}" --linacs "${demo}" ${date} --report "${WORK_DIR}/report.pdf"
                            "${SOURCE_DIR}/examples/demo_6mv.ini"
        RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
    file(READ "${WORK_DIR}/report.pdf" head LIMIT 5)
    check("code EQUAL 0 AND head MATCHES \"^%PDF-\""
          "installed kova-mu --report writes a PDF with its plug-in (exit ${code}: ${err})")
endif()

# Installed, ActionLevels.ini is read from <prefix>/etc/kovax: a TPS MU one unit above the
# MU is within the default 3 % and beyond a level of 0.01 %.
execute_process(COMMAND "${mu}" --linacs "${demo}" ${date} "${SOURCE_DIR}/examples/demo_6mv.ini"
    OUTPUT_VARIABLE out)
string(REGEX MATCH "== Fixed SSD 10x10: MU = ([0-9]+)" found "${out}")
math(EXPR tps "${CMAKE_MATCH_1} + 1")
file(WRITE "${WORK_DIR}/tps.ini" "[AP]\nLinac = DualDemo\nEnergy = 6MV\n"
    "Technique = Not Isocentric\nBeamDose = 200\nBeamDepth = 10\nBeamSSD = 100\n"
    "BeamWidth = 10\nBeamHeight = 10\nTPSMU = ${tps}\n")
execute_process(COMMAND "${mu}" --linacs "${demo}" ${date} "${WORK_DIR}/tps.ini"
    RESULT_VARIABLE code OUTPUT_QUIET)
check("code EQUAL 0" "without ActionLevels.ini the default level holds (exit ${code})")
file(WRITE "${PREFIX}/etc/kovax/ActionLevels.ini" "Photon Beam = 0.01\n")
execute_process(COMMAND "${mu}" --linacs "${demo}" ${date} "${WORK_DIR}/tps.ini"
    RESULT_VARIABLE code OUTPUT_QUIET)
file(REMOVE_RECURSE "${PREFIX}/etc")
check("code EQUAL 3" "ActionLevels.ini of ${PREFIX}/etc/kovax is read (exit ${code})")
