# What the Windows build adds, in one place: the card library's module
# definition and import library, the programs' resources, and the DLLs a
# program needs beside it to run. Included by the top CMakeLists on Windows.

# 32-bit Windows calls the card functions __stdcall (cardlib/tvn_call.h): the
# compiler decorates their symbols name@N, the DLL exports them plainly.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(KESTRUNE_STDCALL ON)
    set(KESTRUNE_STDCALL_LINK_OPTIONS -Wl,--kill-at)
    set(KESTRUNE_DLLTOOL_OPTIONS -k)
else()
    set(KESTRUNE_STDCALL OFF)
    set(KESTRUNE_STDCALL_LINK_OPTIONS)
    set(KESTRUNE_DLLTOOL_OPTIONS)
endif()

# kestrune_tolvane_def(OUTPUT [MACHINE]): a build rule for the module
# definition of Tolvane.dll from the function list; MACHINE adds the stand-in's
# tvnsim_* functions.
function(kestrune_tolvane_def output)
    set(lists ${PROJECT_SOURCE_DIR}/cardlib/tvn_functions.h)
    set(machine)
    if(ARGN STREQUAL "MACHINE")
        list(APPEND lists ${PROJECT_SOURCE_DIR}/cardlib/machine_functions.h)
        set(machine -DMACHINE=${PROJECT_SOURCE_DIR}/cardlib/machine_functions.h)
    endif()
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DFUNCTIONS=${PROJECT_SOURCE_DIR}/cardlib/tvn_functions.h ${machine}
                -DSTDCALL=${KESTRUNE_STDCALL} -DOUTPUT=${output} -P ${PROJECT_SOURCE_DIR}/cmake/tolvane_def.cmake
        DEPENDS ${lists} ${PROJECT_SOURCE_DIR}/cmake/tolvane_def.cmake
        COMMENT "Listing the exports of Tolvane.dll")
endfunction()

# kestrune_tolvane_import(TARGET): makes the INTERFACE library TARGET link an
# import library of Tolvane.dll that dlltool makes from the card functions'
# module definition alone: what links it imports those names from any
# Tolvane.dll, the card maker's as well as the stand-in.
function(kestrune_tolvane_import target)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/tolvane_card.def)
    set(library ${CMAKE_CURRENT_BINARY_DIR}/libtolvane_card.a)
    kestrune_tolvane_def(${def})
    add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_DLLTOOL} ${KESTRUNE_DLLTOOL_OPTIONS} --input-def ${def} --dllname Tolvane.dll
                --output-lib ${library}
        DEPENDS ${def}
        COMMENT "Making the import library of Tolvane.dll")
    add_custom_target(${target}_library DEPENDS ${library})
    target_link_libraries(${target} INTERFACE ${library})
    add_dependencies(${target} ${target}_library)
endfunction()
