#!/usr/bin/env bash
# The layout of every C and C++ file tracked by git, against .clang-format,
# with the version scripts/setup installs and names: another major version
# lays out some code differently. Fails with the names of the files whose
# layout differs (`clang-format -i FILE` mends one).
#   format_check.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
want=$(scripts/setup --clang-format-major)
found=$(clang-format --version 2>/dev/null | sed -nE 's/.*version ([0-9]+)\..*/\1/p')
if [ "$found" != "$want" ]; then
  echo "clang-format ${found:-is missing}: the layout is that of clang-format $want (scripts/setup installs it)"
  exit 1
fi
files=() present=() bad=() rc=0
if ! mapfile -d '' -t files < <(git ls-files -z -- '*.c' '*.h' '*.cpp' '*.hpp' '*.cc' '*.hh' '*.cxx' '*.inl') ||
  [ "${#files[@]}" -eq 0 ]; then
  echo "no C or C++ files found (not a git checkout?)"
  exit 1
fi
# Files deleted but not yet committed are not checked.
for f in "${files[@]}"; do [ -f "$f" ] && present+=("$f"); done
# Each difference is reported as FILE:LINE:COLUMN: error: ...
out=$(clang-format --dry-run -Werror "${present[@]}" 2>&1) || rc=$?
mapfile -t bad < <(sed -nE 's/^(.+):[0-9]+:[0-9]+: (error|warning): .*/\1/p' <<<"$out" | sort -u)
echo "clang-format $found: ${#present[@]} files checked"
if [ "$rc" -ne 0 ] && [ "${#bad[@]}" -eq 0 ]; then
  echo "clang-format failed: $(head -n 3 <<<"$out")"
  exit 1
fi
if [ "${#bad[@]}" -gt 0 ]; then
  echo "not formatted as .clang-format says:"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
