# Cross build for Windows with Debian's mingw-w64 GCC, win32 threading model:
# its runtime uses Win32 threads directly, so the posix-threads library
# (winpthreads) is not linked into every program. Everything links statically,
# so the .exe runs alone. Included by mingw-i686.cmake and mingw-x86_64.cmake,
# which set SHEETLOOM_MINGW_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SHEETLOOM_MINGW_ARCH})
set(triple ${SHEETLOOM_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${triple}-g++-win32)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Inside the Wine root (scripts/wine-root), whose Wine runs 32-bit programs in
# its WoW64 mode; the host's Wine 8 cannot run the i686 build.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
