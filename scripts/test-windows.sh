#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 (configure preset "windows": quorrel.exe with its
# window, uninstall-cleanup.exe and the test programs, warnings as errors) against Qt for
# Windows (scripts/build-windows-qt.sh builds it once into its cache), runs the tests under
# wine64 in a throw-away prefix, then makes the installer and installs, starts and
# uninstalls it there. No display is needed: the widget tests draw offscreen.
# scripts/test.sh calls this script; it may also be run on its own.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)

# A missing Qt is built here, not skipped.
QUORREL_WINDOWS_QT=$(scripts/build-windows-qt.sh)
export QUORREL_WINDOWS_QT

echo "== windows: configure and build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

echo "== windows: tests under wine"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorrel-wine.XXXXXX")
export WINEPREFIX="$scratch/prefix"
finish() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap finish EXIT

# The first start prepares the prefix (wineboot -i, about ten seconds) before the tests run
# side by side.
cmake/toolchain-wine-run.sh cmd.exe /c exit 0 >/dev/null 2>&1 || true

ctest --preset windows -j "$jobs"

echo "== windows: the installer"
tests/package/windows-installer-test.sh "$PWD/build/windows"
