# Cross-building for Windows with Debian's MinGW-w64 (posix threads), for the
# architecture that the toolchain file including this one sets
# (mingw-x86_64.cmake, mingw-i686.cmake).
# Give the Qt for Windows through CMAKE_PREFIX_PATH, and Debian's host tools:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-<arch>.cmake -DCMAKE_PREFIX_PATH=<qt> \
#         -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTRUNE_MINGW_ARCH})
set(triple ${KESTRUNE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_DLLTOOL ${triple}-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
# Libraries and headers of the target only; packages (Qt) also from
# CMAKE_PREFIX_PATH, which ONLY would hide.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# Tests run through Wine.
find_program(KESTRUNE_WINE wine)
if(KESTRUNE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTRUNE_WINE})
endif()
