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

run_suite() {
    local preset=$1
    echo "== ${preset}: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== ${preset}: tests"
    ctest --preset "$preset" -j "$jobs" || status=1
}

export QT_QPA_PLATFORM=offscreen
run_suite default
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suite sanitize

echo "== fuzzing: 20 s per target"
scripts/fuzz.sh 20 || status=1

if [ -x scripts/test-windows.sh ]; then
    scripts/test-windows.sh || status=1
fi

exit $status
