# Every arrow between folders points down: a folder's sources include only
# their own folder's headers and those of the folders listed for it here.
#   cmake -DSOURCE_DIR=<project> -P tests/layers.cmake
cmake_minimum_required(VERSION 3.25)

set(windows "widgets;settings;cardlib;common")
set(allowed_cardlib "")
set(allowed_tolvane "cardlib")
set(allowed_common "")
set(allowed_flashmend "cardlib;common")
set(allowed_kestrune/settings "cardlib")
set(allowed_kestrune/widgets "")
set(allowed_kestrune/para "${windows}")
set(allowed_kestrune/motion "${windows}")
set(allowed_kestrune/io "${windows}")
set(allowed_kestrune/counter "${windows}")
set(allowed_kestrune/main "para;motion;io;counter;${windows}")

set(faults "")
foreach(folder cardlib tolvane common flashmend kestrune/settings kestrune/widgets kestrune/para
               kestrune/motion kestrune/io kestrune/counter kestrune/main)
    get_filename_component(own "${folder}" NAME)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"[^\"]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" target "${line}")
            if(NOT target STREQUAL own AND NOT target IN_LIST allowed_${folder})
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
                list(APPEND faults "${shown}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "includes that point up or sideways:\n  ${text}")
endif()
