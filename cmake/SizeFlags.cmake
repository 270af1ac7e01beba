# Windows builds: a small executable. Every function and datum gets its own
# section so that the linker drops what nothing calls (most of the runtime
# library's formatting and locale code); Release code is optimised for size,
# since the program waits on the user and on the system's controls, not on
# its own loops; Release executables are stripped of symbols; and Release
# builds are optimised at link time as one unit (-flto, one partition), which
# drops and merges what no single file could. The linker keeps every function
# that has unwind information (its .eh_frame entries are all kept), so what
# the compiler never emits is what really goes.
# -fno-ipa-icf: GCC 12 stops with an internal error (binds_to_current_def_p)
# when it folds identical functions in this code under -flto.
# No run-time type information: nothing here uses dynamic_cast or typeid (the
# compiler would refuse them now), and exceptions still carry the type
# information their handlers match on. The native build keeps it, since the
# undefined-behaviour sanitizer's vptr check needs it.
# The second compiler's builds (clang, cmake/clang-mingw.cmake) check the
# code, not the size: they keep the sections but not GCC's link-time options.
if(MINGW AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-ffunction-sections -fdata-sections -fno-rtti
    $<$<CONFIG:Release>:-flto$<SEMICOLON>-fno-ipa-icf>)
  add_link_options(-Wl,--gc-sections
    $<$<CONFIG:Release>:-s$<SEMICOLON>-flto$<SEMICOLON>-flto-partition=one$<SEMICOLON>-fno-ipa-icf>)
elseif(MINGW)
  add_compile_options(-ffunction-sections -fdata-sections -fno-rtti)
  add_link_options(-Wl,--gc-sections)
endif()
if(MINGW)
  foreach(lang C CXX)
    string(REPLACE "-O3" "-Os" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
  endforeach()
endif()
