# 32-bit Windows (card libraries of this kind are mostly 32-bit DLLs).
set(KESTRUNE_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
