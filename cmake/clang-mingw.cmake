# Cross build for Windows with Debian's clang instead of GCC, against the same
# mingw-w64 headers and libraries (and GCC's libstdc++ of the win32 threading
# model): a second compiler, so that what only GCC accepts shows before an
# MSVC build does. Included by clang-mingw-i686.cmake and
# clang-mingw-x86_64.cmake, which set SHEETLOOM_MINGW_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SHEETLOOM_MINGW_ARCH})
set(triple ${SHEETLOOM_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
# clang 14 does not recognise Debian's GCC folder name (12-win32) as a GCC
# version, so it is named: libstdc++'s headers and GCC's libraries.
file(GLOB gcc_dirs /usr/lib/gcc/${triple}/*-win32)
list(GET gcc_dirs 0 gcc_dir)
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple} -isystem ${gcc_dir}/include/c++/backward")
# (The C++ flags reach the link line too, where -nostdinc++ means nothing.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -L${gcc_dir} -Wno-unused-command-line-argument")
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
