#!/usr/bin/env bash
# scripts/host-mirror against apt source folders of the kinds Debian machines
# have: each case writes one folder and names the archive that must come first
# (or "-" for none).
set -uo pipefail
mirror=${1:?usage: host_mirror_test.sh PATH/TO/host-mirror}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME EXPECTED: runs host-mirror on $work/NAME for release "bookworm".
check() {
  local name=$1 expected=$2 got
  got=$("$mirror" "$work/$name" bookworm | head -n 1)
  [ -n "$got" ] || got=-
  if [ "$got" = "$expected" ]; then
    echo "ok   $name"
  else
    echo "FAIL $name: expected $expected, got $got"
    failures=$((failures + 1))
  fi
}

# case NAME FILE: the case's file (relative to its folder) from standard input.
case_file() {
  mkdir -p "$(dirname "$work/$1/$2")"
  cat >"$work/$1/$2"
}

# The default layout of a Debian 12 installation: the release and its updates
# in one paragraph, security in its own; a commented snapshot line above.
case_file deb822-default sources.list.d/debian.sources <<'X'
Types: deb
# http://snapshot.example/archive/debian/20250520T000000Z
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main
X
check deb822-default http://mirror.example/debian

# Security listed first, then a third-party suite, then the release.
case_file deb822-order sources.list.d/a.sources <<'X'
Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: https://vendor.example/node
Suites: nodistro
Components: main

Types: deb deb-src
URIs: http://near.example/debian http://far.example/debian
Suites: bookworm
Components: main contrib
X
check deb822-order http://near.example/debian

# Only source packages, or a disabled paragraph: nothing to bootstrap from.
case_file deb822-src-only sources.list.d/debian.sources <<'X'
Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm
Components: main
X
check deb822-src-only -
case_file deb822-disabled sources.list.d/debian.sources <<'X'
Types: deb
URIs: http://off.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://on.example/debian
Suites: bookworm
Components: main
X
check deb822-disabled http://on.example/debian

# A suite whose name merely starts with the release's is another suite.
case_file deb822-prefix sources.list.d/debian.sources <<'X'
Types: deb
URIs: http://updates.example/debian
Suites: bookworm-updates bookworm-backports
Components: main
X
check deb822-prefix -

# The one-line format, with options in brackets, comments and other suites.
case_file one-line sources.list <<'X'
# deb http://commented.example/debian bookworm main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://security.example/debian-security bookworm-security main
deb-src http://src.example/debian bookworm main
deb [arch=amd64] http://mirror.example/debian bookworm main contrib
X
check one-line http://mirror.example/debian

# No sources at all (a folder without the files).
mkdir -p "$work/empty"
check empty -

[ "$failures" -eq 0 ]
