#!/bin/bash
# Counts slow DHCP applies: RUNS times a fresh veth pair in fresh network namespaces,
# dnsmasq started on the peer end, then `netsh interface ip set address lan0 source=dhcp`
# at once, timed. Prints each run's milliseconds and how many took over a second; the
# slow runs' DHCP client and server logs are kept in the folder named at the end. Root.
#
# Usage: scripts/dhcp-tail.sh [build folder] [runs]   (default build/default, 50)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/netns-link.sh"
build=$(cd "${1:-$here/build/default}" && pwd)
runs=${2:-50}
netsh=$build/bin/netsh-testing
[ -x "$netsh" ] || { echo "dhcp-tail.sh: $netsh is not built" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "dhcp-tail.sh: needs root (network namespaces)" >&2; exit 2; }

work=$(mktemp -d /tmp/quorrel-dhcp-tail-XXXXXX)
ns=qtail$$
peer=qtailp$$
teardown() {
    [ -f "$work/dnsmasq.pid" ] && { kill "$(cat "$work/dnsmasq.pid")" 2>/dev/null || true; }
    for f in "$work"/state/*.dhcp.pid; do
        [ -f "$f" ] || continue
        pid=$(cat "$f")
        kill "$pid" 2>/dev/null || true
        # It gives the lease back and runs its event script before it ends.
        for _ in $(seq 300); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.01
        done
    done
    rm -f "$work/dnsmasq.pid"
    ip netns del "$ns" 2>/dev/null || true
    ip netns del "$peer" 2>/dev/null || true
    rm -rf "$work/state"
}
slow=0
finish() {
    teardown
    if [ "$slow" -gt 0 ]; then
        echo "logs of the slow runs: $work"
    else
        rm -rf "$work"
    fi
}
trap finish EXIT

for i in $(seq "$runs"); do
    mkdir -p "$work/state"
    : >"$work/resolv.conf"
    netnsLink "$ns" "$peer" 10.63.0 "$work"
    start=${EPOCHREALTIME/./}
    ip netns exec "$ns" env "QUORREL_NETSTATE_DIR=$work/state" \
        "QUORREL_RESOLV_CONF=$work/resolv.conf" QUORREL_DHCP_WAIT_MS=10000 \
        "$netsh" interface ip set address lan0 source=dhcp >"$work/netsh.out" 2>&1 || true
    ms=$(((${EPOCHREALTIME/./} - start) / 1000))
    echo "run $i: $ms ms"
    if [ "$ms" -gt 1000 ]; then
        slow=$((slow + 1))
        cp "$work/server.log" "$work/slow-$i.server.log"
        cp "$work/state/lan0.dhcp.log" "$work/slow-$i.client.log" 2>/dev/null || true
        cp "$work/netsh.out" "$work/slow-$i.netsh.out"
    fi
    teardown
    rm -f "$work/server.log" "$work/leases"
done
echo "slow (over 1 s): $slow of $runs"
