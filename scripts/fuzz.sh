#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/) with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz and runs each for the given seconds (default
# 60), starting from its seed corpus in the tree; what a run adds stays in build/fuzz.
# Prints the executions of each target. Exits 1 when a target finds a crash (its input is
# kept in build/fuzz/crashes/<target>/) or cannot be built.
# Usage: scripts/fuzz.sh [seconds] [target...]     QUORREL_FUZZ_JOBS: targets run at once (1)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_netsh_command_line fuzz_profile_file fuzz_registry_store fuzz_dhcp_event
    fuzz_dns_answer)
fi
parallel=${QUORREL_FUZZ_JOBS:-1}

scripts/install-deps.sh test
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORREL_FUZZ=ON -DQUORREL_WITH_UI=OFF -DQUORREL_BUILD_TESTS=OFF -DQUORREL_WERROR=ON \
  -DQUORREL_PRECOMPILED_HEADERS=ON \
  >/dev/null
nice cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_one() {
  local target=$1
  local seeds=tests/fuzz/corpus/${target#fuzz_}
  local corpus=$build/corpus/$target
  local crashes=$build/crashes/$target/
  local log=$build/$target.log
  mkdir -p "$corpus" "$crashes"
  local status=0
  "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes" "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    echo "$target: ${runs:-?} executions in $seconds s, no crash"
  else
    echo "$target: FAILED after ${runs:-?} executions (exit $status); see $log and $crashes"
    tail -30 "$log"
  fi
  return $status
}

status=0
pids=()
for target in "${targets[@]}"; do
  run_one "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$parallel" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
exit $status
