# Runs the real lnc program: cmake -DLNC=<lnc> -DWORK_DIR=<scratch folder> -P lnc_test.cmake
# Checks the pack/unpack/dump round trips and the exit codes (0 ok, 1 failure, 2 usage).
cmake_minimum_required(VERSION 3.25)

if(NOT LNC OR NOT WORK_DIR)
    message(FATAL_ERROR "usage: cmake -DLNC=<lnc> -DWORK_DIR=<dir> -P lnc_test.cmake")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# check("<if() condition>" "<what must hold>"): reports a failure and carries on, so one run
# shows every failed check. The condition is parsed as if() arguments.
function(check condition message)
    cmake_language(EVAL CODE "
        if(NOT (${condition}))
            message(SEND_ERROR \"FAILED: \${message}\")
        endif()")
endfunction()

# Runs lnc with the given arguments; sets code, out (stdout) and err (stderr) in the caller.
function(run_lnc)
    execute_process(COMMAND "${LNC}" ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    set(code "${result}" PARENT_SCOPE)
    set(out "${output}" PARENT_SCOPE)
    set(err "${error}" PARENT_SCOPE)
endfunction()

# Runs lnc with its stdout written byte for byte into a file.
function(run_lnc_to_file file)
    execute_process(COMMAND "${LNC}" ${ARGN} RESULT_VARIABLE result OUTPUT_FILE "${file}")
    set(code "${result}" PARENT_SCOPE)
endfunction()

function(expect_same_bytes first second message)
    file(READ "${first}" a HEX)
    file(READ "${second}" b HEX)
    if(NOT a STREQUAL b)
        message(SEND_ERROR "FAILED: ${message}: ${first} and ${second} differ")
    endif()
endfunction()

# A linac text with odd whitespace and a name holding the space stand-in byte 0xE7.
string(ASCII 231 e7)
set(text_file "${WORK_DIR}/linac.txt")
file(WRITE "${text_file}"
    "DAZUZODADIDUSPECFILE 0\r\nSala${e7}A Acme M1 SN-7\t100\n"
    "X Y X1 X2 Y1 Y2 1 0.5\n1\n"
    "X6 6 40 40 1 1 20 20 20 20 -2 -2 -10 -10 100 1.5 1 400 40 0 1 1 0.5 0.987654321 0 01/01/2026\n"
    "1 10 10 1 0 1 2 1.5 1 10 0.67\n"
    "1 W60 0 20 30 0 1 10 1 0.3\n"
    "1 Tray 0.97\n1 5 1.01\n1 MLC 0.99\n1 Block 0.95\n"
    "1\nE9 9 100 2.7 1 A10 1.02\n")

# pack, then unpack gives the original text byte for byte
run_lnc(pack "${text_file}" "${WORK_DIR}/a.lnc")
check("code EQUAL 0" "pack of a good text exits 0 (got ${code}: ${err})")
run_lnc_to_file("${WORK_DIR}/unpacked.txt" unpack "${WORK_DIR}/a.lnc")
check("code EQUAL 0" "unpack exits 0 (got ${code})")
expect_same_bytes("${text_file}" "${WORK_DIR}/unpacked.txt" "unpack gives the packed text")

# dump, pack the dump, dump again: the same text
run_lnc_to_file("${WORK_DIR}/dump1.txt" dump "${WORK_DIR}/a.lnc")
check("code EQUAL 0" "dump exits 0 (got ${code})")
run_lnc(pack "${WORK_DIR}/dump1.txt" "${WORK_DIR}/b.lnc")
check("code EQUAL 0" "pack of a dump exits 0 (got ${code}: ${err})")
run_lnc_to_file("${WORK_DIR}/dump2.txt" dump "${WORK_DIR}/b.lnc")
check("code EQUAL 0" "second dump exits 0 (got ${code})")
expect_same_bytes("${WORK_DIR}/dump1.txt" "${WORK_DIR}/dump2.txt" "dump, pack, dump")
# The dump keeps the decoded name's stand-in byte and every digit of the factor.
file(READ "${WORK_DIR}/dump1.txt" dump)
string(FIND "${dump}" "Sala${e7}A" at)
check("NOT at EQUAL -1" "the dump writes the name with its 0xE7 byte")
string(FIND "${dump}" "0.987654321" at)
check("NOT at EQUAL -1" "the dump keeps every digit of 0.987654321")

# usage errors exit 2
foreach(arguments IN ITEMS "" "pack" "unpack" "frobnicate;x" "dump;a;b" "pack;only-one")
    run_lnc(${arguments})
    check("code EQUAL 2" "lnc ${arguments} is a usage error (got ${code})")
    string(FIND "${err}" "Usage:" at)
    check("NOT at EQUAL -1" "lnc ${arguments} prints the usage on stderr")
endforeach()
run_lnc(--help)
check("code EQUAL 0" "lnc --help exits 0 (got ${code})")

# a missing file exits 1 with the reason on stderr
foreach(command IN ITEMS dump unpack)
    run_lnc(${command} "${WORK_DIR}/missing.lnc")
    check("code EQUAL 1" "lnc ${command} of a missing file exits 1 (got ${code})")
    string(FIND "${err}" "Cannot open file ${WORK_DIR}/missing.lnc" at)
    check("NOT at EQUAL -1" "lnc ${command} of a missing file says why (stderr: ${err})")
endforeach()
run_lnc(pack "${WORK_DIR}/missing.txt" "${WORK_DIR}/never.lnc")
check("code EQUAL 1" "pack of a missing text exits 1 (got ${code})")
string(FIND "${err}" "Cannot open file" at)
check("NOT at EQUAL -1" "pack of a missing text says why (stderr: ${err})")

# a file that is not a linac file
file(WRITE "${WORK_DIR}/junk.lnc" "junk, not zlib")
foreach(command IN ITEMS dump unpack)
    run_lnc(${command} "${WORK_DIR}/junk.lnc")
    check("code EQUAL 1" "lnc ${command} of a junk file exits 1 (got ${code})")
    string(FIND "${err}" "is not a linac file" at)
    check("NOT at EQUAL -1" "lnc ${command} of a junk file says why (stderr: ${err})")
endforeach()

# pack refuses a broken text (a flag of 2) and leaves no file behind
file(READ "${text_file}" good)
string(REPLACE "0 1 1 0.5 0.987654321" "0 1 2 0.5 0.987654321" broken "${good}")
check("NOT broken STREQUAL good" "the broken text differs from the good one")
file(WRITE "${WORK_DIR}/broken.txt" "${broken}")
run_lnc(pack "${WORK_DIR}/broken.txt" "${WORK_DIR}/broken.lnc")
check("code EQUAL 1" "pack of a broken text exits 1 (got ${code})")
string(FIND "${err}" "the flag 2 is neither 0 nor 1" at)
check("NOT at EQUAL -1" "pack of a broken text says why (stderr: ${err})")
check("NOT EXISTS ${WORK_DIR}/broken.lnc" "pack of a broken text writes no file")
check("NOT EXISTS ${WORK_DIR}/broken.lnc.tmp" "pack of a broken text leaves no temporary file")
