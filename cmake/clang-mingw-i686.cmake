# Windows i686 with clang (see clang-mingw.cmake).
set(SHEETLOOM_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
