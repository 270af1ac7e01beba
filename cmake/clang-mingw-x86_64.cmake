# Windows x86_64 with clang (see clang-mingw.cmake).
set(SHEETLOOM_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
