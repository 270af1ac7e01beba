#!/usr/bin/env bash
# scripts/setup deletes nothing at SHEETLOOM_WINE_ROOT, or in a temporary
# folder beside it, that does not carry its marker file. Each case puts
# folders in the way of a Wine root that is not there yet; setup must refuse
# before it builds anything (so the cases download nothing), remove only the
# marked leftovers and keep the rest with every file in it. Needs root, as
# setup's Wine root part does: exits 77 (skipped) otherwise.
#   setup_deletion_test.sh PATH/TO/scripts/setup
set -uo pipefail
setup=$1
[ "$(id -u)" -eq 0 ] || { echo "needs root: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
marker=.sheetloom-wine-root
failures=0
# Should setup go on to build regardless, it stops at once here.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "mmdebstrap called" >&2\nexit 1\n' >"$work/bin/mmdebstrap"
chmod +x "$work/bin/mmdebstrap"
export PATH="$work/bin:$PATH"

check() { # check DESCRIPTION CONDITION...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# 1. An unmarked folder with files at the root's place: kept, setup fails.
root=$work/one/wine-root
mkdir -p "$root" && echo precious >"$root/keep"
SHEETLOOM_WINE_ROOT=$root "$setup" >"$work/out" 2>&1
check "unmarked folder in place: setup fails" [ $? -ne 0 ]
check "unmarked folder in place: kept" grep -qx precious "$root/keep"
check "unmarked folder in place: says why" grep -q "does not carry $marker" "$work/out"

# 2. A marked temporary folder of an interrupted run goes; an unmarked one,
#    and an unmarked folder in place, stay.
root=$work/two/wine-root
mkdir -p "$root.building-abc123/usr" "$root.building-zzz999" "$root"
date >"$root.building-abc123/$marker"
echo precious >"$root.building-zzz999/keep"
echo precious >"$root/keep"
SHEETLOOM_WINE_ROOT=$root "$setup" >"$work/out" 2>&1
check "marked leftover removed" [ ! -e "$root.building-abc123" ]
check "unmarked leftover kept" grep -qx precious "$root.building-zzz999/keep"
check "unmarked root kept beside removed leftovers" grep -qx precious "$root/keep"

# 3. A link at the root's place to a marked folder: neither is deleted
#    (the marker is looked for in the link, which setup never follows).
root=$work/three/wine-root
mkdir -p "$work/three/elsewhere"
date >"$work/three/elsewhere/$marker"
echo precious >"$work/three/elsewhere/keep"
ln -s "$work/three/elsewhere" "$root"
SHEETLOOM_WINE_ROOT=$root "$setup" >"$work/out" 2>&1
check "link in place: setup fails" [ $? -ne 0 ]
check "link in place: link kept" [ -L "$root" ]
check "link in place: its target kept" grep -qx precious "$work/three/elsewhere/keep"

# No case may have started a build.
check "nothing built" [ -z "$(find "$work" -maxdepth 2 -name 'wine-root.building-*' ! -name '*zzz999' -print)" ]
[ "$failures" -eq 0 ]
