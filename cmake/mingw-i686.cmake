# Windows i686 with mingw-w64 GCC (see mingw.cmake).
set(SHEETLOOM_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
