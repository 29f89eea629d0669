# Writes the module definition (.def) of the card library Tolvane.dll from
# the one function list, at build time:
#   cmake -DFUNCTIONS=cardlib/tvn_functions.h [-DMACHINE=cardlib/machine_functions.h]
#         -DSTDCALL=ON|OFF -DOUTPUT=<file.def> -P cmake/tolvane_def.cmake
# MACHINE adds the stand-in's tvnsim_* functions (the stand-in's own exports);
# without it the file describes what the card maker's DLL exports, for the
# import library that programs link.
#
# With STDCALL (32-bit Windows) each name carries its argument bytes, name@N,
# as the compiler decorates a __stdcall symbol; the DLL is linked with
# --kill-at and the import library made with dlltool -k, so that the names
# the DLL exports and imports are looked up by stay plain.
cmake_minimum_required(VERSION 3.25)

# The bytes one argument of `type` takes on the 32-bit stack: every argument
# is widened to 4 bytes, a double takes 8. A type not named here stops the
# build, so that a new one is given its size here rather than guessed.
function(argument_bytes type out)
    string(STRIP "${type}" type)
    if(type MATCHES "\\*")
        set(${out} 4 PARENT_SCOPE)
        return()
    endif()
    # Machine functions name their parameters: "int axis".
    string(REGEX REPLACE "^(const +)?([A-Za-z_0-9]+).*$" "\\2" base "${type}")
    if(base MATCHES "^(u?int(16|32)_t|int|float)$")
        set(${out} 4 PARENT_SCOPE)
    elseif(base STREQUAL "double")
        set(${out} 8 PARENT_SCOPE)
    else()
        message(FATAL_ERROR "tolvane_def.cmake: no stack size known for the argument type '${type}'")
    endif()
endfunction()

# Appends "name" or "name@N" for each entry of `macro` in `header` to `out`.
function(exports_of header macro out)
    file(READ "${header}" text)
    # The list's entries, one per line (the first too); comments and the
    # #error text do not start with the macro's name.
    string(REGEX MATCHALL "\n${macro}\\([^\n]*" entries "\n${text}")
    if(NOT entries)
        message(FATAL_ERROR "tolvane_def.cmake: no ${macro} entries in ${header}")
    endif()
    set(lines "${${out}}")
    foreach(entry IN LISTS entries)
        if(NOT entry MATCHES "^\n${macro}\\([^,]+, *([A-Za-z_0-9]+), *\\(([^)]*)\\)")
            message(FATAL_ERROR "tolvane_def.cmake: cannot read '${entry}' in ${header}")
        endif()
        set(name "${CMAKE_MATCH_1}")
        set(params "${CMAKE_MATCH_2}")
        set(bytes 0)
        if(NOT params MATCHES "^ *$")
            string(REPLACE "," ";" params "${params}")
            foreach(param IN LISTS params)
                argument_bytes("${param}" size)
                math(EXPR bytes "${bytes} + ${size}")
            endforeach()
        endif()
        if(STDCALL)
            list(APPEND lines "    ${name}@${bytes}")
        else()
            list(APPEND lines "    ${name}")
        endif()
    endforeach()
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

foreach(required FUNCTIONS OUTPUT)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "tolvane_def.cmake: -D${required}=… is missing")
    endif()
endforeach()

set(exports "")
exports_of("${FUNCTIONS}" TVN_FUNCTION exports)
if(MACHINE)
    exports_of("${MACHINE}" TVN_MACHINE_FUNCTION exports)
endif()
list(JOIN exports "\n" body)
set(content "; Made by cmake/tolvane_def.cmake from the function list; do not edit.\nLIBRARY Tolvane.dll\nEXPORTS\n${body}\n")
# Written only when it changes, so that what links with it is not redone.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
    if(old STREQUAL content)
        return()
    endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
