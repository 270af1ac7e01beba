#!/usr/bin/env bash
# Shows that an ordinary user runs the program and the Windows tests without
# root: as such a user it starts the i686 sheetloom.exe under Xvfb through
# scripts/with-wine (so inside the Wine root, entered by scripts/wine-root),
# waits for its main window, closes it, and runs one test of the i686 build
# with ctest there.
#   tests/scripts/unprivileged_check.sh BUILD_DIR TEST_NAME
# BUILD_DIR is the i686 build (build/win32). Run as root (as CI does), it
# works as the existing unprivileged user nobody, with a temporary home, and
# creates no user; run as anyone else, it works as the caller.
#
# Nothing of the checkout is opened up for the user: the few files it needs
# (the scripts, the test runner, the two executables) are copied into a
# temporary folder that belongs to it, since the checkout's parent folders may
# be closed to others (a clone under /root, say). The test's ctest command is
# taken from the build and pointed at the copies.
# Exits 0 when both pass, 1 when one fails, 77 when this kernel forbids
# unprivileged user namespaces (then the Wine root can only be entered as root).
set -euo pipefail
build=$(realpath "$1")
test_name=$2
project=$(cd "$(dirname "$0")/../.." && pwd)
user=nobody

exe=$build/app/sheetloom.exe
[ -f "$exe" ] || { echo "unprivileged: $exe is missing: build the i686 target first" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
  uid=$(id -u "$user") gid=$(id -g "$user")
  # A clean environment, as a login would give, but for the Wine root's place.
  as_user() {
    setpriv --reuid="$uid" --regid="$gid" --clear-groups --no-new-privs -- \
      env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" USER="$user" LOGNAME="$user" \
      ${SHEETLOOM_WINE_ROOT:+SHEETLOOM_WINE_ROOT="$SHEETLOOM_WINE_ROOT"} "$@"
  }
else
  user=$(id -un) uid=$(id -u)
  as_user() { env HOME="$work/home" "$@"; }
fi

work=$(mktemp -d /tmp/sheetloom-unprivileged.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/project/scripts" "$work/project/cmake" "$work/home" "$work/build"
cp "$project"/scripts/{wine-root,with-wine,wine-prefix-init} "$work/project/scripts/"
cp "$project/cmake/RunWindowsTest.cmake" "$work/project/cmake/"
cp "$exe" "$work/build/sheetloom.exe"

# The test's command as the build's ctest has it, with the build's and the
# project's paths replaced by the copies'.
ctest --test-dir "$build" --show-only=json-v1 -R "^${test_name}\$" >"$work/tests.json"
python3 - "$work" "$build" "$project" "$test_name" <<'EOF'
import json, os, shutil, sys
work, build, project, name = sys.argv[1:]
tests = [t for t in json.load(open(f"{work}/tests.json"))["tests"] if t["name"] == name]
if len(tests) != 1:
    sys.exit(f"unprivileged: the build has no test {name}")
test = tests[0]
def moved(arg):
    for prefix, copy in ((f"-DEXE={build}/", f"-DEXE={work}/build/"), (f"-DXML={build}/", f"-DXML={work}/build/"),
                         (build + "/", work + "/build/"),
                         (project + "/", work + "/project/")):
        if arg.startswith(prefix):
            return copy + arg[len(prefix):]
    return arg
command = [moved(a) for a in test["command"]]
for arg in test["command"]:
    path = arg.split("=", 1)[-1]
    if path.startswith(build + "/"):
        os.makedirs(os.path.dirname(moved(path)), exist_ok=True)
        if path.endswith(".exe"):
            shutil.copy(path, moved(path))
timeout = next((p["value"] for p in test.get("properties", []) if p["name"] == "TIMEOUT"), 60)
quote = lambda s: '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'
with open(f"{work}/build/CTestTestfile.cmake", "w") as f:
    f.write(f"add_test({name} {' '.join(map(quote, command))})\n")
    f.write(f"set_tests_properties({name} PROPERTIES TIMEOUT {timeout})\n")
EOF
if [ "$(id -u)" -eq 0 ]; then
  chown -R "$uid:$gid" "$work"
fi

# Without unprivileged user namespaces the Wine root is root's alone: say so
# rather than fail, since scripts/wine-root then rightly refuses.
if ! as_user bwrap --ro-bind / / true 2>"$work/bwrap.err"; then
  echo "unprivileged: SKIPPED: $user cannot create a user namespace here: $(head -n 1 "$work/bwrap.err")"
  exit 77
fi

# Inside with-wine, as the user: start the program, wait for its main window
# (its caption is SHEETLOOM), end it; then run the test.
inside='
  set -u
  echo "unprivileged: inside the Wine root as uid $(id -u)"
  [ "$(id -u)" = "$1" ] || { echo "unprivileged: expected uid $1"; exit 1; }
  /usr/lib/wine/wine64 "$2/build/sheetloom.exe" &
  pid=$!
  win=
  for _ in $(seq 1 300); do
    # xdotool matches names without regard to case, so the application
    # window "Sheetloom" (1x1) matches too: take the main window, the large one.
    win=$(for w in $(xdotool search --onlyvisible --name "^SHEETLOOM\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
      [ "${WIDTH:-0}" -gt 100 ] && echo "$w"
    done | head -n 1)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$win" ]; then
    echo "unprivileged: FAILED: sheetloom.exe showed no window"
    exit 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$win")"
  echo "unprivileged: sheetloom.exe showed its window \"$(xdotool getwindowname "$win")\" (${WIDTH}x${HEIGHT})"
  # Ends it with every process of the prefix, and waits until its window is
  # gone: the test sends real input to whatever window is in front.
  kill "$pid" 2>/dev/null
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  wait "$pid" 2>/dev/null
  for _ in $(seq 1 100); do
    [ -z "$(xdotool search --onlyvisible --name "^SHEETLOOM\$" 2>/dev/null)" ] && break
    sleep 0.1
  done
  ctest --test-dir "$2/build" --output-on-failure --no-tests=error
'
cd "$work"
log=$work/run.log
set +e
as_user xvfb-run -a -s "-screen 0 1280x1024x24" "$work/project/scripts/with-wine" \
  sh -c "$inside" sh "$uid" "$work" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
set -e
[ "$rc" -eq 0 ] || exit 1
