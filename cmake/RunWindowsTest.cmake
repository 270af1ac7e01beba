# Runs one GoogleTest Windows executable, under the cross-compiling emulator
# when there is one, and passes only when it exits with 0 AND its XML report
# (--gtest_output=xml) names at least one test and no failure. A broken Wine
# (say a WoW64 setup without the 32-bit DLLs) can end with 0 without having
# run the program at all; the report only comes from the program.
#   cmake -DEXE=path -DXML=report.xml [-DEMULATOR=list] -P RunWindowsTest.cmake
file(REMOVE "${XML}")
set(report "${XML}")
if(EMULATOR)
  # Under Wine the program opens the host's path through drive Z:.
  set(report "Z:${XML}")
endif()
execute_process(COMMAND ${EMULATOR} ${EXE} "--gtest_output=xml:${report}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
message("${output}")
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "${EXE} ended with ${result}")
endif()
if(NOT EXISTS "${XML}")
  message(FATAL_ERROR "${EXE} exited with 0 but wrote no report: it did not run")
endif()
file(READ "${XML}" xml)
if(NOT xml MATCHES "<testsuites[^>]* tests=\"([0-9]+)\"[^>]* failures=\"([0-9]+)\"")
  message(FATAL_ERROR "${EXE}: its report ${XML} is not a GoogleTest report")
endif()
set(tests ${CMAKE_MATCH_1})
set(failures ${CMAKE_MATCH_2})
set(errors 0)
if(xml MATCHES "<testsuites[^>]* errors=\"([0-9]+)\"")
  set(errors ${CMAKE_MATCH_1})
endif()
if(tests EQUAL 0 OR NOT failures EQUAL 0 OR NOT errors EQUAL 0)
  message(FATAL_ERROR "${EXE}: ${tests} tests, ${failures} failed, ${errors} errors (${XML})")
endif()
