# Every target of ours links sheetloom_warnings: warnings are errors. Third-party
# code (GoogleTest) is built without it.
add_library(sheetloom_warnings INTERFACE)
if(MSVC)
  target_compile_options(sheetloom_warnings INTERFACE /W4 /WX /utf-8 /permissive-)
  # The bounded C string functions we use (wcsncpy into LOGFONT) are what the
  # Win32 structures need; MSVC's advice to replace them is not a fault.
  target_compile_definitions(sheetloom_warnings INTERFACE _CRT_SECURE_NO_WARNINGS)
else()
  target_compile_options(sheetloom_warnings INTERFACE -Wall -Wextra -Werror)
endif()
if(WIN32)
  # Unicode (W) Win32 APIs everywhere; min/max macros would shadow std::min/max.
  target_compile_definitions(sheetloom_warnings INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
endif()
