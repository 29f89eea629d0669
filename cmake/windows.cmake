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

# kestrune_tolvane_import(TARGET [MACHINE]): makes the INTERFACE library
# TARGET link an import library of Tolvane.dll that dlltool makes from the
# card functions' module definition (with MACHINE, the tvnsim_* functions'
# too): what links it imports those names from any Tolvane.dll, the card
# maker's as well as the stand-in, under the symbols a 32-bit caller uses.
function(kestrune_tolvane_import target)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a)
    kestrune_tolvane_def(${def} ${ARGN})
    add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_DLLTOOL} ${KESTRUNE_DLLTOOL_OPTIONS} --input-def ${def} --dllname Tolvane.dll
                --output-lib ${library}
        DEPENDS ${def}
        COMMENT "Making the import library ${library}")
    add_custom_target(${target}_library DEPENDS ${library})
    target_link_libraries(${target} INTERFACE ${library})
    add_dependencies(${target} ${target}_library)
endfunction()

# The MinGW runtime DLLs a program of this compiler needs, wherever the
# compiler keeps them.
set(KESTRUNE_MINGW_RUNTIME)
if(KESTRUNE_STDCALL)
    set(runtime_names libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
else()
    set(runtime_names libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
endif()
foreach(name IN LISTS runtime_names)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler ${CMAKE_CXX_COMPILER} does not know where ${name} is")
    endif()
    file(REAL_PATH "${path}" path)
    list(APPEND KESTRUNE_MINGW_RUNTIME "${path}")
endforeach()

# Qt's DLLs and plugins: what the programs load (the windows platform and
# the Windows Vista style) and what tests and headless runs use (Qt6Test, the
# offscreen and minimal platforms).
set(KESTRUNE_QT_DLLS $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    $<TARGET_FILE:Qt6::Test>)
set(KESTRUNE_QT_PLATFORMS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
    $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> $<TARGET_FILE:Qt6::QMinimalIntegrationPlugin>)
set(KESTRUNE_QT_STYLES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)
# The icon reader, with which the tests read back the programs' .ico files.
set(KESTRUNE_QT_IMAGE_FORMATS $<TARGET_FILE:Qt6::QICOPlugin>)
# Qt finds its translations and plugins beside the program (Prefix), not in
# the folder above Qt6Core.dll, where it would look for a Qt installation.
set(KESTRUNE_QT_CONF ${PROJECT_SOURCE_DIR}/cmake/qt.conf)

# Chinese texts for Qt's own dialogs, taken from the host's Qt (Debian's
# qt6-translations-l10n): they are the same files on every platform.
find_file(KESTRUNE_QT_ZH_CN qtbase_zh_CN.qm
    PATHS ${QT6_INSTALL_PREFIX}/translations /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT KESTRUNE_QT_ZH_CN)
    message(FATAL_ERROR "qtbase_zh_CN.qm not found: install Debian's qt6-translations-l10n")
endif()

# kestrune_windows_runtime(TARGET FOLDER): copies into FOLDER, on every
# build, what a program there needs to run: the MinGW runtime, Qt's DLLs,
# plugins and Chinese texts, and qt.conf.
function(kestrune_windows_runtime target folder)
    add_custom_target(${target} ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/platforms ${folder}/styles ${folder}/translations
                ${folder}/imageformats
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_QT_IMAGE_FORMATS} ${folder}/imageformats
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_QT_ZH_CN} ${folder}/translations
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_MINGW_RUNTIME} ${KESTRUNE_QT_DLLS}
                ${KESTRUNE_QT_CONF} ${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_QT_PLATFORMS} ${folder}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_QT_STYLES} ${folder}/styles
        COMMENT "Copying the DLLs a program needs into ${folder}"
        VERBATIM)
endfunction()

# kestrune_windows_program(TARGET NAME ICON DESCRIPTION): TARGET becomes the
# window program NAME.exe (no console window) with the icon file ICON (made by
# the build target program_icons) and version information whose description
# is DESCRIPTION.
function(kestrune_windows_program target name icon description)
    set(KESTRUNE_RC_NAME ${name})
    set(KESTRUNE_RC_FILE ${name}.exe)
    set(KESTRUNE_RC_ICON ${icon})
    set(KESTRUNE_RC_DESCRIPTION ${description})
    if(DEFINED PROJECT_VERSION_MINOR AND NOT PROJECT_VERSION_MINOR STREQUAL "")
        set(KESTRUNE_RC_MINOR ${PROJECT_VERSION_MINOR})
    else()
        set(KESTRUNE_RC_MINOR 0)
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${icon})
    add_dependencies(${target} program_icons)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME ${name})
endfunction()
