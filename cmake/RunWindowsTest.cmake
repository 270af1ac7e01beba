# Runs one Windows test executable, under the cross-compiling emulator when
# there is one, and passes only when it exits with 0 AND printed GoogleTest's
# summary. A broken Wine (say a WoW64 setup without the 32-bit DLLs) can end
# with 0 without having run the program at all; the summary only comes from it.
#   cmake -DEXE=path [-DEMULATOR=list] -P RunWindowsTest.cmake
execute_process(COMMAND ${EMULATOR} ${EXE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
message("${output}")
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "${EXE} ended with ${result}")
endif()
if(NOT output MATCHES "\\[==========\\] [0-9]+ tests? from [0-9]+ test (suites?|cases?) ran\\.")
  message(FATAL_ERROR "${EXE} exited with 0 but printed no GoogleTest summary: it did not run")
endif()
