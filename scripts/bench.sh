#!/bin/bash
# Measures the program next to a baseline in the same run and prints one table: the main
# window with 100,000 profiles next to a bare Qt window, netsh's fixed and DHCP applies
# next to the raw ip and udhcpc commands, `quorrel --status` and `--list` next to
# bin/ipconfig, and the data file's load+save next to a bytes-only pass. Each figure is
# the median of RUNS runs; the program and its baseline take turns. Needs root (the netsh
# rows run in throw-away network namespaces with dnsmasq on the peer end).
#
# Usage: scripts/bench.sh [build folder] [runs] [rows]
#   build folder  default: build/default (data_file_bench, netsh-testing, quorrel, ipconfig)
#   runs          default: 7 (at least 5)
#   rows          default: all; a comma list of window, netsh, cli: the window and data file
#                 rows (data_file_bench alone), netsh's rows, the command line's rows
#
# The machine may be shared: run it with the same niceness each time (nice scripts/bench.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/netns-link.sh"
build=$(cd "${1:-$here/build/default}" && pwd)
runs=${2:-7}
rows=,${3:-window,netsh,cli},
[ "$runs" -ge 5 ] || { echo "bench.sh: at least 5 runs" >&2; exit 2; }
bin=$build/bin
wanted() { [[ $rows == *",$1,"* ]]; }
programs=(data_file_bench)
wanted netsh && programs+=(netsh-testing)
wanted cli && programs+=(quorrel ipconfig)
for program in "${programs[@]}"; do
    [ -x "$bin/$program" ] || { echo "bench.sh: $bin/$program is not built" >&2; exit 2; }
done
[ "$(id -u)" = 0 ] || { echo "bench.sh: needs root (network namespaces)" >&2; exit 2; }

work=$(mktemp -d /tmp/quorrel-bench-XXXXXX)
ns=qbench$$
peer=qbenchp$$
cleanup() {
    [ -f "$work/dnsmasq.pid" ] && kill "$(cat "$work/dnsmasq.pid")" 2>/dev/null || true
    for f in "$work"/state/*.dhcp.pid; do
        [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null || true
    done
    ip netns del "$ns" 2>/dev/null || true
    ip netns del "$peer" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

nowNs() { echo "${EPOCHREALTIME/./}000"; }
# Milliseconds that the command takes, its output thrown away; fails when it fails.
timed() {
    local start end
    start=$(nowNs)
    "$@" >/dev/null 2>&1 || { echo "bench.sh: failed: $*" >&2; return 1; }
    end=$(nowNs)
    awk -v d=$((end - start)) 'BEGIN { printf "%.1f\n", d / 1e6 }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Appends value to the list named $1 (a file in $work).
keep() { echo "$2" >>"$work/$1"; }
med() { median <"$work/$1"; }
count_over() { awk -v limit="$2" '$1 > limit { n++ } END { print n + 0 }' <"$work/$1"; }

# --- the window and the data file, 100,000 profiles ---------------------------------------
# The window's folder gains the machine's adapters as profiles at its first start; the
# load+save rows use a folder of their own.
data=$work/data/
file=$work/file/
mkdir -p "$data" "$file" "$work/registry" "$work/runtime" "$work/state"
chmod 700 "$work/runtime"
export QUORREL_REGISTRY_DIR=$work/registry XDG_RUNTIME_DIR=$work/runtime QUORREL_UNATTENDED=1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$bin/data_file_bench" --write 100000 "$data" >/dev/null
"$bin/data_file_bench" --write 100000 "$file" >/dev/null
wanted window && for _ in $(seq "$runs"); do
    for kind in bare frame; do
        read -r paint mapped _ peak < <("$bin/data_file_bench" --window "$kind" "$(nowNs)" "$data")
        keep "$kind.paint" "$paint"
        keep "$kind.mapped" "$mapped"
        keep "$kind.peak" "$(awk -v k="$peak" 'BEGIN { printf "%.0f", k / 1024 }')"
    done
    read -r load save _ < <("$bin/data_file_bench" --load-save 100000 "$file")
    keep loadsave "$(awk -v a="$load" -v b="$save" 'BEGIN { printf "%.1f", a + b }')"
    keep bytes "$("$bin/data_file_bench" --bytes "$file")"
done

# --- netsh, inside namespaces: lan0 here, peer0 with dnsmasq on the peer end --------------
# The command line's rows read their adapters in the same namespace.
inns() { ip netns exec "$ns" "$@"; }
if wanted netsh || wanted cli; then
    netnsLink "$ns" "$peer" 10.62.0 "$work"
fi
if wanted netsh; then
    # The lease is set as netsh's hook sets it: address, then the default route.
    cat >"$work/udhcpc.script" <<'EOF'
#!/bin/sh
[ "$1" = bound ] || exit 0
ip addr add "$ip/$mask" dev "$interface" && ip route replace default via "$router" dev "$interface"
EOF
    chmod +x "$work/udhcpc.script"
    # netsh writes its resolver file in the work folder, never the machine's.
    netshEnv=(env "QUORREL_NETSTATE_DIR=$work/state" "QUORREL_RESOLV_CONF=$work/resolv.conf"
        "QUORREL_DHCP_WAIT_MS=10000")
    : >"$work/resolv.conf"
    resetLan() {
        for f in "$work"/state/*.dhcp.pid; do
            [ -f "$f" ] && { kill "$(cat "$f")" 2>/dev/null || true; rm -f "$f"; }
        done
        inns ip addr flush dev lan0
        inns ip route flush dev lan0 2>/dev/null || true
    }
    # The three ip commands of a fixed address, each entering the namespace as netsh's run does.
    ipBaseline() {
        inns ip addr flush dev lan0 && inns ip addr add "$1/24" dev lan0 &&
            inns ip route replace default via 10.62.0.1 dev lan0
    }
    # Wait for the link to carry packets both ways (dnsmasq answers) before timing.
    for _ in $(seq 50); do
        inns timeout 3 udhcpc -i lan0 -f -q -n -t 1 -T 1 -s /bin/true >/dev/null 2>&1 && break
    done
    for i in $(seq "$runs"); do
        resetLan
        keep fixed "$(timed inns "${netshEnv[@]}" "$bin/netsh-testing" interface ip set address lan0 \
            source=static "addr=10.62.0.$((10 + i))" mask=255.255.255.0 gateway=10.62.0.1 1)"
        resetLan
        keep ipfixed "$(timed ipBaseline "10.62.0.$((50 + i))")"
        resetLan
        keep dhcp "$(timed inns "${netshEnv[@]}" "$bin/netsh-testing" interface ip set address lan0 \
            source=dhcp)"
        resetLan
        keep udhcpc "$(timed inns udhcpc -i lan0 -f -q -n -t 3 -T 1 -s "$work/udhcpc.script")"
    done
    resetLan
fi

# --- the command line, inside the namespace (it reads its adapters) ------------------------
"$bin/data_file_bench" --register "$file"
wanted cli && for _ in $(seq "$runs"); do
    keep status "$(timed inns "$bin/quorrel" --status)"
    keep list "$(timed inns "$bin/quorrel" --list)"
    keep ipconfig "$(timed inns "$bin/ipconfig" /all)"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
row() { printf '| %s | %s | %s | %s |\n' "$1" "$2" "$3" "$4"; }
echo "Medians of $runs runs, $(date -u +%Y-%m-%d), $(nproc) cores, nice $(nice)."
echo
echo "| what | Quorrel | baseline | ratio |"
echo "|---|---|---|---|"
if wanted window; then
    row "first paint with 100,000 profiles" "$(med frame.paint) ms" \
        "bare window $(med bare.paint) ms" "$(ratio "$(med frame.paint)" "$(med bare.paint)")"
    row "window mapped with 100,000 profiles, peak resident memory" \
        "$(med frame.mapped) ms, $(med frame.peak) MB" "$(med bare.mapped) ms, $(med bare.peak) MB" \
        "$(ratio "$(med frame.mapped)" "$(med bare.mapped)")"
fi
if wanted netsh; then
    row "netsh set address, fixed, new address (probe included)" "$(med fixed) ms" \
        "ip addr + route $(med ipfixed) ms" "$(ratio "$(med fixed)" "$(med ipfixed)")"
    row "netsh set address, DHCP" "$(med dhcp) ms, over 1 s in $(count_over dhcp 1000) of $runs" \
        "udhcpc $(med udhcpc) ms" "$(ratio "$(med dhcp)" "$(med udhcpc)")"
fi
if wanted cli; then
    row "\`quorrel --status\`" "$(med status) ms" "bin/ipconfig $(med ipconfig) ms" \
        "$(ratio "$(med status)" "$(med ipconfig)")"
    row "\`quorrel --list\`" "$(med list) ms" "bin/ipconfig $(med ipconfig) ms" \
        "$(ratio "$(med list)" "$(med ipconfig)")"
fi
if wanted window; then
    row "data file load+save 100,000" "$(med loadsave) ms" "bytes-only pass $(med bytes) ms" \
        "$(ratio "$(med loadsave)" "$(med bytes)")"
fi
