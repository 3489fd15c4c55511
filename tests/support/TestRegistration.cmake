# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# How a test is registered with CTest, and why a test may not run: included by the suite, and by
# the test of the skip rules, which registers tests of its own the same way.

set(corvallo_qt_test_runner ${CMAKE_CURRENT_LIST_DIR}/run-qt-test.sh)

# Registers a run of a Qt Test with CTest, on the offscreen platform unless its ENVIRONMENT names
# another. The first word of the COMMAND is a target of the build or a program; it runs through the
# build's emulator where there is one, and its result reaches CTest by exit status alone
# (run-qt-test.sh): a run whose functions only skip, and none fails, shows as skipped.
function(corvallo_add_test_run name)
    cmake_parse_arguments(PARSE_ARGV 1 run "" "" "COMMAND;ENVIRONMENT")
    list(POP_FRONT run_COMMAND program)
    if(TARGET ${program})
        set(program $<TARGET_FILE:${program}>)
    endif()
    add_test(NAME ${name} COMMAND bash ${corvallo_qt_test_runner} ${CMAKE_CROSSCOMPILING_EMULATOR}
        ${program} ${run_COMMAND})
    set(environment QT_QPA_PLATFORM=offscreen ${run_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" LABELS unit
        SKIP_RETURN_CODE 77)
endfunction()

# Registers a test that does not apply to the system built for, with the reason: the arguments
# after the name, joined, with no semicolon (CMake would split the reason there). CTest lists the
# test, disabled, under the label not-applicable; the suite names it with the reason that
# not-applicable.txt in the build keeps.
file(WRITE ${PROJECT_BINARY_DIR}/not-applicable.txt "")
function(corvallo_not_applicable name)
    string(JOIN "" reason ${ARGN})
    if(reason STREQUAL "")
        message(FATAL_ERROR "The test ${name} is registered as not applicable with no reason")
    endif()
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E false)
    set_tests_properties(${name} PROPERTIES DISABLED TRUE LABELS not-applicable)
    file(APPEND ${PROJECT_BINARY_DIR}/not-applicable.txt "${name}: ${reason}\n")
endfunction()

# corvallo_may_skip(NAME TEXT REASON...): the test NAME may skip on a machine that lacks what it
# needs for a reason that no set-up can mend, when its skip message contains TEXT; REASON, the
# arguments after TEXT joined, says which machines and why. may-skip.txt in the build keeps them,
# a tab between the three. A skip with no such entry fails the suite where it runs strictly
# (scripts/lib/skips.py).
file(WRITE ${PROJECT_BINARY_DIR}/may-skip.txt "")
function(corvallo_may_skip name text)
    string(JOIN "" reason ${ARGN})
    if(NOT TEST ${name} OR text STREQUAL "" OR reason STREQUAL "")
        message(FATAL_ERROR "corvallo_may_skip(${name}): a registered test, a message and a reason")
    endif()
    file(APPEND ${PROJECT_BINARY_DIR}/may-skip.txt "${name}\t${text}\t${reason}\n")
endfunction()
