# Windows builds: a small executable. Every function and datum gets its own
# section so that the linker drops what nothing calls (most of the runtime
# library's formatting and locale code); Release code is optimised for size,
# since the program waits on the user and on the system's controls, not on
# its own loops; and Release executables are stripped of symbols.
if(MINGW)
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections $<$<CONFIG:Release>:-s>)
  foreach(lang C CXX)
    string(REPLACE "-O3" "-Os" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
  endforeach()
endif()
