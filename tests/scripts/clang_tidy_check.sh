#!/usr/bin/env bash
# clang-tidy (the machine's, with the checks of .clang-tidy) over the
# production code one build compiles: every file of style/, controls/, ui/,
# toolkit/, app/ and tools/ in the build's compile_commands.json, with the
# headers of those folders; and no C or C++ file of those folders over 400
# lines. Any finding fails.
#   clang_tidy_check.sh SOURCE_DIR BUILD_DIR [MINGW_TRIPLE]
# For a mingw-w64 build (MINGW_TRIPLE, say i686-w64-mingw32) clang parses the
# code as that target, with the same mingw-w64 headers and GCC's libstdc++ the
# build uses; GCC's own optimisation flags, which clang does not know, are
# left out of the commands.
set -euo pipefail
src=$(realpath "$1") build=$(realpath "$2") triple=${3:-}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy) ||
  { echo "clang-tidy not found (scripts/setup installs clang-tidy)"; exit 1; }
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy) ||
  { echo "run-clang-tidy not found (package clang-tidy)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
production="^$src/(style|controls|ui|toolkit|app|tools)/"

python3 - "$build/compile_commands.json" "$work/compile_commands.json" "$production" "$triple" <<'PY'
import glob, json, re, shlex, sys
source, dest, production, triple = sys.argv[1:]
gcc_only = {"-fno-ipa-icf", "-flto", "-flto-partition=one"}
extra = []
if triple:
    gcc = sorted(glob.glob(f"/usr/lib/gcc/{triple}/*-win32"))[-1]
    extra = [f"--target={triple}", "-nostdinc++", "-isystem", f"{gcc}/include/c++",
             "-isystem", f"{gcc}/include/c++/{triple}", "-isystem", f"{gcc}/include/c++/backward"]
entries = []
for e in json.load(open(source)):
    if not re.match(production, e["file"]) or not e["file"].endswith((".cpp", ".c")):
        continue
    args = e["arguments"] if "arguments" in e else shlex.split(e["command"])
    args = ["clang++"] + extra + [a for a in args[1:] if a not in gcc_only]
    entries.append({"directory": e["directory"], "file": e["file"], "arguments": args})
if not entries:
    sys.exit(f"no production file in {source}")
json.dump(entries, open(dest, "w"), indent=1)
print(f"{len(entries)} files")
PY

"$runner" -clang-tidy-binary "$tidy" -p "$work" -j "$(nproc)" -quiet -header-filter="$production" \
  "$production" >"$work/out" 2>&1 || true
# Findings are FILE:LINE:COLUMN: warning|error: ...; any diagnostic counts,
# also one the parser gives (clang-diagnostic-*).
sed 's/\x1b\[[0-9;]*m//g' "$work/out" | grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): |^error: ' |
  sort -u >"$work/findings" || true
# A file holds one concept: more than 400 lines is a finding, on its line 401.
find "$src"/{style,controls,ui,toolkit,app,tools} -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 |
  xargs -0 awk 'FNR == 401 { print FILENAME ":401:1: error: more than 400 lines [file-length]" }' \
    >>"$work/findings"
if [ -s "$work/findings" ]; then
  cat "$work/findings"
  echo "clang-tidy: $(wc -l <"$work/findings") finding(s)"
  exit 1
fi
if grep -q 'Error while processing\|error:' "$work/out"; then
  sed 's/\x1b\[[0-9;]*m//g' "$work/out" | tail -n 20
  exit 1
fi
echo "clang-tidy: no finding"
