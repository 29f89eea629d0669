# cmake/tolvane_def.cmake on lists of its own: the argument bytes of each
# type (name@N, which the 32-bit import library and the DLL's link must get
# exactly), plain names off 32-bit, the stand-in's functions only when asked,
# and a stop at a type whose size it does not know.
#   cmake -DSOURCE_DIR=<project> -DWORK_DIR=<scratch folder> -P tests/cmake/tst_tolvane_def.cmake
cmake_minimum_required(VERSION 3.25)

set(script ${SOURCE_DIR}/cmake/tolvane_def.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/functions.h [[
// TVN_FUNCTION(result, name, params, answer) in a comment is no entry.
#error "define TVN_FUNCTION(result, name, params, answer) first"
TVN_FUNCTION(int16_t, f_none, (), VALUE)
TVN_FUNCTION(int16_t, f_small, (int16_t, uint16_t, int32_t, uint32_t), STATUS)
TVN_FUNCTION(double, f_double, (int16_t, double), VALUE)
TVN_FUNCTION(int16_t, f_pointers, (const int16_t*, const double*, char*, float*), STATUS)
TVN_FUNCTION(int16_t, f_mixed, (uint32_t*, float, double, double), STATUS)
]])
file(WRITE ${WORK_DIR}/machine.h [[
TVN_MACHINE_FUNCTION(int, m_named, (int axis, int signal, int force))
TVN_MACHINE_FUNCTION(int, m_none, ())
]])

set(faults "")
# expect(NAME OUTPUT EXPECTED_EXPORTS ARGS...): runs the script and compares
# the EXPORTS section it wrote with EXPECTED_EXPORTS.
function(expect what output expected)
    execute_process(COMMAND ${CMAKE_COMMAND} ${ARGN} -DOUTPUT=${output} -P ${script}
                    RESULT_VARIABLE status ERROR_VARIABLE error)
    if(NOT status EQUAL 0)
        set(faults "${faults}\n  ${what}: the script failed: ${error}" PARENT_SCOPE)
        return()
    endif()
    file(STRINGS ${output} lines REGEX "^    ")
    list(TRANSFORM lines STRIP)
    if(NOT lines STREQUAL expected)
        set(faults "${faults}\n  ${what}: ${lines}\n    expected ${expected}" PARENT_SCOPE)
    endif()
    file(STRINGS ${output} library REGEX "^LIBRARY ")
    if(NOT library STREQUAL "LIBRARY Tolvane.dll")
        set(faults "${faults}\n  ${what}: '${library}', not LIBRARY Tolvane.dll" PARENT_SCOPE)
    endif()
endfunction()

expect("32-bit, card functions" ${WORK_DIR}/card32.def
       "f_none@0;f_small@16;f_double@12;f_pointers@16;f_mixed@24"
       -DFUNCTIONS=${WORK_DIR}/functions.h -DSTDCALL=ON)
expect("32-bit, with the machine" ${WORK_DIR}/all32.def
       "f_none@0;f_small@16;f_double@12;f_pointers@16;f_mixed@24;m_named@12;m_none@0"
       -DFUNCTIONS=${WORK_DIR}/functions.h -DMACHINE=${WORK_DIR}/machine.h -DSTDCALL=ON)
expect("64-bit, with the machine" ${WORK_DIR}/all64.def
       "f_none;f_small;f_double;f_pointers;f_mixed;m_named;m_none"
       -DFUNCTIONS=${WORK_DIR}/functions.h -DMACHINE=${WORK_DIR}/machine.h -DSTDCALL=OFF)
# The real lists: every entry is read (none skipped for a form the script
# does not know), and the longest entry point's bytes come out right.
file(STRINGS ${SOURCE_DIR}/cardlib/tvn_functions.h entries REGEX "^TVN_FUNCTION\\(")
list(LENGTH entries count)
execute_process(COMMAND ${CMAKE_COMMAND} -DFUNCTIONS=${SOURCE_DIR}/cardlib/tvn_functions.h -DSTDCALL=ON
                        -DOUTPUT=${WORK_DIR}/real.def -P ${script} RESULT_VARIABLE status)
file(STRINGS ${WORK_DIR}/real.def exports REGEX "^    ")
list(LENGTH exports exported)
if(NOT status EQUAL 0 OR NOT exported EQUAL count)
    set(faults "${faults}\n  the card list: ${exported} exports of ${count} entries")
endif()
if(NOT "    tvn_set_st_profile@52" IN_LIST exports)
    set(faults "${faults}\n  tvn_set_st_profile (a 16-bit axis and six doubles) is not @52")
endif()

# A type of no known size stops the build instead of guessing.
file(WRITE ${WORK_DIR}/unknown.h "TVN_FUNCTION(int16_t, f_wide, (int64_t), STATUS)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DFUNCTIONS=${WORK_DIR}/unknown.h -DSTDCALL=ON
                        -DOUTPUT=${WORK_DIR}/unknown.def -P ${script}
                RESULT_VARIABLE status ERROR_VARIABLE error)
if(status EQUAL 0 OR NOT error MATCHES "int64_t")
    set(faults "${faults}\n  an int64_t argument was given a size")
endif()

if(faults)
    message(FATAL_ERROR "cmake/tolvane_def.cmake:${faults}")
endif()
message(STATUS "cmake/tolvane_def.cmake: every case as expected")
