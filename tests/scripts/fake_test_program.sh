#!/bin/sh
# Stands in for a Windows test executable under Wine, in the ways such a run
# can end. $1 names the way.
summary='[==========] 3 tests from 1 test suite ran. (12 ms total)'
case $1 in
passed) printf '%s\n[  PASSED  ] 3 tests.\n' "$summary" ;;
old-gtest) printf '[==========] 1 test from 1 test case ran. (0 ms total)\n[  PASSED  ] 1 test.\n' ;;
failed) printf '%s\n[  PASSED  ] 2 tests.\n[  FAILED  ] 1 test\n' "$summary" && exit 1 ;;
silent) ;;                              # a broken Wine that ran nothing
missing-dll) exit 53 ;;                 # kernel32 not found in the prefix
crash-at-exit) printf '%s\n' "$summary" && exit 3 ;;
stopped-early) printf '[==========] Running 3 tests from 1 test suite.\n' ;;
esac
