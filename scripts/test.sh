#!/usr/bin/env bash
# Checks that every C++ file keeps the repository's .clang-format, then builds Quorrel and
# runs every test suite: the Linux build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of each fuzz target, and the Windows build under
# wine.
# Installs what it needs first. Network tests need root (they create their own network
# namespaces); without root they are skipped with a visible reason.
#
# scripts/test.sh --fast is the inner loop while working: it builds the Linux build (the
# default preset, configured once) and runs the core and user-interface test programs as
# they are, without installing, formatting, the other builds or the network suites. The
# full run is what CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--fast" ]; then
    export QT_QPA_PLATFORM=offscreen
    [ -f build/default/build.ninja ] || cmake --preset default >/dev/null
    cmake --build --preset default -j "$(nproc)" --target core_tests ui_tests
    status=0
    for suite in core_tests ui_tests; do
        echo "== ${suite}"
        build/default/bin/"$suite" --gtest_brief=1 || status=1
    done
    exit $status
fi

scripts/install-deps.sh test

echo "== formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
status=0

# Qt for Windows, when it is not cached yet, builds from the start at the lowest priority:
# beside the Linux builds it gets little, but it takes the processor time their test runs
# leave idle, and it has the machine to itself once they are done. test-windows.sh waits
# for it (the build takes a lock) and builds it itself if this one failed.
qt_build=
if [ -x scripts/test-windows.sh ] && ! scripts/build-windows-qt.sh --cached >/dev/null 2>&1; then
    mkdir -p build
    # apt runs here, before the package test's apt can need its lock.
    scripts/build-windows-qt.sh --fetch
    nice -n 19 scripts/build-windows-qt.sh >build/windows-qt.log 2>&1 &
    qt_build=$!
    echo "== windows Qt: building beside the Linux suites (build/windows-qt.log)"
fi

run_suite() {
    local preset=$1
    echo "== ${preset}: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== ${preset}: tests"
    ctest --preset "$preset" -j "$jobs" || status=1
    echo "== ${preset}: done, ${SECONDS} s since the start"
}

export QT_QPA_PLATFORM=offscreen
run_suite default
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suite sanitize

echo "== fuzzing: 20 s per target"
QUORREL_FUZZ_JOBS=$jobs scripts/fuzz.sh 20 || status=1

if [ -n "$qt_build" ]; then
    wait "$qt_build" || true
    cat build/windows-qt.log
fi
if [ -x scripts/test-windows.sh ]; then
    scripts/test-windows.sh || status=1
    echo "== windows: done, ${SECONDS} s since the start"
fi

exit $status
