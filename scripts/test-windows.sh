#!/usr/bin/env bash
# Builds the Windows half with mingw-w64 (configure preset "windows": core, platform layer,
# uninstall-cleanup.exe and the test programs, warnings as errors) and runs its tests under
# wine64 in a throw-away prefix. No display is needed; nothing opens a window.
# scripts/test.sh calls this script; it may also be run on its own.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)

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
