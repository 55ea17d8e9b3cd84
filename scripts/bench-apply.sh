#!/bin/sh
# Times the apply as the user sees it, in a throw-away network namespace (needs root, ip
# and dnsmasq): from "예" of the confirmation to the success message for a fixed and for
# a DHCP profile, and a refill of the list with 10,000 profiles. Prints min / median / max.
#
# Usage: scripts/bench-apply.sh [build folder] [runs]
#   build folder  default: build/default; the e2e_tests and netsh targets are built there
#   runs          default: 7
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/default}
runs=${2:-7}
cmake --build "$build" --target e2e_tests netsh >/dev/null
QUORREL_BENCH_RUNS=$runs QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/bin/e2e_tests" --gtest_also_run_disabled_tests \
    --gtest_filter='ApplyBenchmark.*' --gtest_brief=1 2>&1 | grep -E ' runs |SKIPPED|FAILED|Failure' || true
