# Checks cmake/RunWindowsTest.cmake, which decides whether a Windows test
# executable run under Wine passed, against every way such a run can end.
#   cmake -DRUNNER=.../RunWindowsTest.cmake -DFAKE=.../fake_test_program.sh -DWORK=dir -P this
set(cases
  "passed:pass"
  "failed:fail"
  "failed-exit-0:fail"
  "no-tests:fail"
  "silent:fail"
  "stale:fail"
  "missing-dll:fail"
  "crash-at-exit:fail"
  "garbage:fail")
set(failures 0)
file(MAKE_DIRECTORY ${WORK})
foreach(case IN LISTS cases)
  string(REPLACE ":" ";" parts "${case}")
  list(GET parts 0 way)
  list(GET parts 1 expected)
  set(xml ${WORK}/${way}.xml)
  file(REMOVE ${xml})
  if(way STREQUAL "stale")
    # A passing report of an earlier run.
    file(WRITE ${xml} "<testsuites tests=\"3\" failures=\"0\" disabled=\"0\" errors=\"0\">\n</testsuites>\n")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} "-DEMULATOR=/bin/sh;${FAKE}" -DEXE=${way} -DXML=${xml} -P ${RUNNER}
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
