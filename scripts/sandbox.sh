#!/usr/bin/env bash
# Starts Quorrel inside a throw-away network namespace, to try it without touching the
# machine's own network: two adapters (veth pairs) lan0 and lan1, a DHCP and DNS server
# (dnsmasq) on the far end of lan0 (10.77.0.0/24), a host at 192.168.50.1 on the far end
# of lan1, and example profiles in a scratch profile folder with scratch settings.
# Everything it starts and makes is removed when the window closes, and after Ctrl+C.
#
# Usage: scripts/sandbox.sh [program]   (as root; scripts/run.sh --sandbox builds first
#                                         and calls this through sudo)
#
# Making a namespace needs root. The window runs as the user who called sudo (SUDO_UID)
# with only the two network capabilities (CAP_NET_ADMIN, CAP_NET_RAW) handed down to what
# it starts, so our netsh can change the sandbox's adapters and nothing else runs as root.
# netsh's state, the resolver file, the settings, the profile folder and the running
# instance's lock all live in the scratch folder, never in the machine's /var/lib/quorrel,
# /etc/resolv.conf or the user's own settings; a window already running outside is left
# alone.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/default/bin/quorrel}
bin=$(dirname "$program")

if [ "$(id -u)" -ne 0 ]; then
    echo "The sandbox needs root to make a network namespace: sudo $0" >&2
    exit 1
fi
for tool in ip dnsmasq setpriv iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "The sandbox needs $tool (scripts/install-deps.sh sandbox installs it)." >&2
        exit 1
    fi
done
# netsh gets the network capabilities here, and the installed build with rights takes no
# folder from its caller; netsh-testing (made with the tests, never installed) does, so
# its state and resolver file stay in the sandbox's scratch folder.
netsh=$bin/netsh-testing
if [ ! -x "$program" ] || [ ! -x "$netsh" ]; then
    echo "No program at $program (or no netsh-testing beside it): build it first." >&2
    exit 1
fi

prefix=quorrel-sandbox-
ns=$prefix$$
far=$ns-far

# Removes one sandbox: every process in its two namespaces, the namespaces, the resolver
# folder `ip netns exec` shows as /etc/resolv.conf, and the scratch folder.
remove_sandbox() {
    local name=$1 scratch=${2:-}
    for space in "$name" "$name-far"; do
        if ip netns pids "$space" >/dev/null 2>&1; then
            # shellcheck disable=SC2046
            kill -KILL $(ip netns pids "$space") 2>/dev/null || true
            ip netns del "$space" 2>/dev/null || true
        fi
    done
    rm -rf "/etc/netns/$name"
    if [ -n "$scratch" ]; then
        rm -rf "$scratch"
    fi
}

# A sandbox whose script was killed outright (no trap runs after SIGKILL) is removed the
# next time one starts.
for stale in $(ip netns list | grep -o "^${prefix}[0-9]*" | sort -u); do
    if ! kill -0 "${stale#"$prefix"}" 2>/dev/null; then
        remove_sandbox "$stale"
        rm -rf /tmp/"$stale".*
    fi
done

scratch=$(mktemp -d "/tmp/$ns.XXXXXX")
app_pid=
server_pid=
# shellcheck disable=SC2317  # called by the traps
cleanup() {
    trap - EXIT INT TERM HUP
    for pid in $app_pid $server_pid; do
        kill -TERM "$pid" 2>/dev/null || true
    done
    remove_sandbox "$ns" "$scratch"
    echo "The sandbox is removed." >&2
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# The namespaces. Links are made inside them, never in the machine's own namespace.
ip netns add "$ns"
ip netns add "$far"
mkdir -p "/etc/netns/$ns"
printf '# resolver of the Quorrel sandbox\n' >"/etc/netns/$ns/resolv.conf"
ip -n "$ns" link set lo up
ip -n "$far" link set lo up
ip -n "$ns" link add lan0 type veth peer name far0 netns "$far"
ip -n "$ns" link add lan1 type veth peer name far1 netns "$far"
for end in lan0 lan1; do ip -n "$ns" link set "$end" up; done
for end in far0 far1; do ip -n "$far" link set "$end" up; done
ip -n "$far" addr add 10.77.0.1/24 dev far0
ip -n "$far" addr add 192.168.50.1/24 dev far1

# DHCP and DNS for lan0's network (the office network of the examples).
ip netns exec "$far" dnsmasq --keep-in-foreground --no-resolv --no-hosts --bind-interfaces \
    --interface=far0 --user=root --pid-file= --log-facility=/dev/null \
    --dhcp-leasefile="$scratch/leases" --dhcp-range=10.77.0.100,10.77.0.150,255.255.255.0,1h \
    --dhcp-option=option:router,10.77.0.1 --dhcp-option=option:dns-server,10.77.0.1 \
    --address=/sandbox.test/10.77.0.1 &
server_pid=$!

# The profile folder: the data file is CP949 text with CR LF line ends, eight fields a line
# (name, DHCP, address, mask, gateway, automatic DNS, primary and secondary DNS).
mkdir -p "$scratch/profiles" "$scratch/registry" "$scratch/netstate" "$scratch/home" \
    "$scratch/runtime"
chmod 700 "$scratch/runtime"
{
    printf '%s\r\n' \
        '사무실||FALSE||10.77.0.20||255.255.255.0||10.77.0.1||FALSE||10.77.0.1||' \
        '집||TRUE||||||||TRUE||||' \
        '집 (DNS 직접)||TRUE||||||||FALSE||10.77.0.1||' \
        '실험실||FALSE||192.168.50.20||255.255.255.0||192.168.50.1||FALSE||192.168.50.1||' \
        '실험실 (사용 중인 주소)||FALSE||192.168.50.1||255.255.255.0||||FALSE||||'
} | iconv -f UTF-8 -t CP949 >"$scratch/profiles/quorrel.dat"
cat >"$scratch/registry/HKEY_LOCAL_MACHINE.reg" <<EOF
[SOFTWARE\\Varnok\\Quorrel]
"PATH"="$scratch/profiles"
"AutoCheck"=dword:00000001
"AdapterName"="lan0"
EOF

environment=(
    HOME="$scratch/home"
    XDG_CONFIG_HOME="$scratch/home/.config"
    XDG_DATA_HOME="$scratch/home/.local/share"
    XDG_CACHE_HOME="$scratch/home/.cache"
    XDG_RUNTIME_DIR="$scratch/runtime"
    QUORREL_REGISTRY_DIR="$scratch/registry"
    QUORREL_NETSTATE_DIR="$scratch/netstate"
    QUORREL_RESOLV_CONF="/etc/netns/$ns/resolv.conf"
    QUORREL_NETSH="$netsh"
    QUORREL_IPCONFIG="$bin/ipconfig"
)
as_user=()
if [ -n "${SUDO_UID:-}" ] && [ "${SUDO_UID}" != 0 ]; then
    chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$scratch" "/etc/netns/$ns/resolv.conf"
    as_user=(setpriv --reuid="$SUDO_UID" --regid="${SUDO_GID:-$SUDO_UID}" --clear-groups
        "--inh-caps=+net_admin,+net_raw" "--ambient-caps=+net_admin,+net_raw")
fi

echo "Sandbox $ns: lan0 (DHCP from 10.77.0.1) and lan1 (192.168.50.0/24)." >&2
echo "Profiles and settings in $scratch; close the window or press Ctrl+C to end." >&2
# In the background, so that Ctrl+C reaches the trap at once instead of after the window.
ip netns exec "$ns" "${as_user[@]}" env "${environment[@]}" "$program" &
app_pid=$!
status=0
wait "$app_pid" || status=$?
exit "$status"
