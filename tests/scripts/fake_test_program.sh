#!/bin/sh
# Stands in for a GoogleTest Windows executable under Wine, in the ways such a
# run can end. $1 names the way, $2 is --gtest_output=xml:Z:PATH.
xml=${2#--gtest_output=xml:}
xml=${xml#Z:}
report() { # report TESTS FAILURES
  printf '<?xml version="1.0" encoding="UTF-8"?>\n<testsuites tests="%s" failures="%s" disabled="0" errors="0" time="0.01" name="AllTests">\n</testsuites>\n' "$1" "$2" >"$xml"
}
case $1 in
passed) report 3 0 ;;
failed) report 3 1 && exit 1 ;;
failed-exit-0) report 3 1 ;;            # a failure the exit code hides
no-tests) report 0 0 ;;                 # a filter that matched nothing
silent) ;;                              # a broken Wine that ran nothing
stale) ;;                               # ran nothing; an old report lies beside it
missing-dll) exit 53 ;;                 # kernel32 not found in the prefix
crash-at-exit) report 3 0 && exit 3 ;;
garbage) echo 'not xml' >"$xml" ;;
esac
