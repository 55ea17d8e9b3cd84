#!/usr/bin/env bash
# The sandbox of scripts/run.sh --sandbox, started for real on Xvfb (root only): while it
# runs, its namespaces, its DHCP server and the program inside are there and a profile can
# be applied to its adapters; after Ctrl+C (SIGINT to its process group, as a terminal sends
# it) and after the window ends, nothing it made is left. Exits 77 (skipped) when it cannot
# run here.
#
# Usage: tests/scripts/sandbox-test.sh path/to/quorrel
set -uo pipefail

program=$1
bin=$(dirname "$program")
here=$(cd "$(dirname "$0")" && pwd)
sandbox=$here/../../scripts/sandbox.sh

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the sandbox needs root"
    exit 77
fi
for tool in ip dnsmasq setpriv xvfb-run iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing"
        exit 77
    fi
done

# A display of the test's own, outside the sandbox's process group as a desktop's display
# is: Ctrl+C reaches the sandbox, not the display.
if [ -z "${QUORREL_SANDBOX_TEST_DISPLAY:-}" ]; then
    exec env QUORREL_SANDBOX_TEST_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24 -ac" "$0" "$@"
fi

failures=0
log=$(mktemp)
started=()
# Whatever a failing sandbox left behind goes when the test ends.
# shellcheck disable=SC2317  # called by the trap
leave_nothing() {
    for name in "${started[@]}"; do
        kill -KILL -- "-${name#quorrel-sandbox-}" 2>/dev/null
        for space in "$name" "$name-far"; do
            ip netns pids "$space" 2>/dev/null | xargs -r kill -KILL
            ip netns del "$space" 2>/dev/null
        done
        rm -rf "/etc/netns/$name" "/tmp/$name".*
    done
    rm -f "$log"
}
trap leave_nothing EXIT
fail() {
    echo "FAIL: $*"
    sed "s/^/  sandbox: /" "$log"
    failures=$((failures + 1))
}

# Waits up to `seconds` until the command succeeds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.1
    done
}

resolv_before=$(md5sum /etc/resolv.conf 2>/dev/null || true)

sandbox_appeared() { ip netns list | grep -q "^$1-far\b"; }
# A process of the group that still runs (a zombie waiting for this script does not count).
group_alive() { ps -e -o pgid=,stat= | awk -v g="$1" '$1 == g && $2 !~ /^Z/' | grep -q .; }
# On Linux quorrel becomes quorrel-window for the window (same process, new name).
program_inside() { ip netns pids "$1" 2>/dev/null | xargs -r ps -o comm= -p | grep -qxE 'quorrel(-window)?'; }
server_inside() { ip netns pids "$1-far" 2>/dev/null | xargs -r ps -o comm= -p | grep -qx dnsmasq; }

gone() {
    local ns=$1
    ! ip netns list | grep -q "^$ns\b" && [ ! -e "/etc/netns/$ns" ] &&
        ! compgen -G "/tmp/$ns.*" >/dev/null && ! group_alive "$group"
}

# Starts the sandbox in a process group of its own (as a terminal's foreground job) and
# waits until everything is up. Sets `group` and `ns`.
start_sandbox() {
    # SIGINT as a terminal leaves it: a job started with & would ignore it.
    setsid env --default-signal=INT "$sandbox" "$program" >"$log" 2>&1 &
    group=$!
    # setsid runs the script in the started process itself, and the script names its
    # namespace after its process id.
    ns=quorrel-sandbox-$group
    started+=("$ns")
    if ! wait_for 30 sandbox_appeared "$ns"; then
        fail "no sandbox namespace appeared"
        return 1
    fi
    wait_for 30 server_inside "$ns" || fail "no dnsmasq in $ns-far"
    wait_for 30 program_inside "$ns" || fail "no quorrel running in $ns"
}

# 1. Ctrl+C removes everything; meanwhile the command line applies a profile in it.
if start_sandbox; then
    scratch=$(compgen -G "/tmp/$ns.*" | head -n 1)
    out=$(ip netns exec "$ns" env -u DISPLAY QUORREL_REGISTRY_DIR="$scratch/registry" \
        QUORREL_NETSTATE_DIR="$scratch/netstate" QUORREL_RESOLV_CONF="/etc/netns/$ns/resolv.conf" \
        QUORREL_NETSH="$bin/netsh-testing" XDG_RUNTIME_DIR="$scratch/runtime" \
        "$program" --apply 집 2>&1) || fail "applying 집 in the sandbox failed: $out"
    ip -n "$ns" -4 addr show dev lan0 | grep -q 'inet 10\.77\.0\.' ||
        fail "lan0 got no address from the sandbox's DHCP server"

    kill -INT -- "-$group"
    wait_for 20 gone "$ns" || fail "after SIGINT, $ns or its files or processes are still there"
fi

# 2. The window ends (here: the program is told to quit): the sandbox goes with it.
if start_sandbox; then
    pid=$(ip netns pids "$ns" | xargs -r ps -o pid=,comm= -p | awk '$2 == "quorrel" || $2 == "quorrel-window" {print $1}')
    kill -TERM "$pid"
    wait_for 20 gone "$ns" || fail "after the window ended, $ns or its files are still there"
fi

[ "$(md5sum /etc/resolv.conf 2>/dev/null || true)" = "$resolv_before" ] ||
    fail "the machine's /etc/resolv.conf changed"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "PASS"
