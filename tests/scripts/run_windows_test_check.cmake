# Checks cmake/RunWindowsTest.cmake, which decides whether a Windows test
# executable run under Wine passed, against every way such a run can end.
#   cmake -DRUNNER=.../RunWindowsTest.cmake -DFAKE=.../fake_test_program.sh -P this
set(cases
  "passed:pass"
  "old-gtest:pass"
  "failed:fail"
  "silent:fail"
  "missing-dll:fail"
  "crash-at-exit:fail"
  "stopped-early:fail")
set(failures 0)
foreach(case IN LISTS cases)
  string(REPLACE ":" ";" parts "${case}")
  list(GET parts 0 way)
  list(GET parts 1 expected)
  execute_process(
    COMMAND ${CMAKE_COMMAND} "-DEMULATOR=/bin/sh;${FAKE}" -DEXE=${way} -P ${RUNNER}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result STREQUAL "0")
    set(got pass)
  else()
    set(got fail)
  endif()
  if(got STREQUAL expected)
    message(STATUS "ok   ${way}: ${got}")
  else()
    message(STATUS "FAIL ${way}: expected ${expected}, got ${got}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) judged wrongly")
endif()
