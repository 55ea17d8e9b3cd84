# Sourced by the measuring scripts (bash): a throw-away link to measure on.
#
# netnsLink NS PEER PREFIX WORK: namespaces NS and PEER joined by a veth pair, lan0 in NS
# and peer0 in PEER, both up; peer0 gets PREFIX.1/24 and dnsmasq hands out
# PREFIX.100-199 on it with PREFIX.1 as the router. dnsmasq's pid goes to WORK/dnsmasq.pid,
# its log (with every DHCP exchange) to WORK/server.log. Returns once it listens.
netnsLink() {
    local ns=$1 peer=$2 prefix=$3 work=$4
    ip netns add "$ns"
    ip netns add "$peer"
    ip -n "$ns" link set lo up
    ip -n "$peer" link set lo up
    ip -n "$ns" link add lan0 type veth peer name peer0 netns "$peer"
    ip -n "$ns" link set lan0 up
    ip -n "$peer" link set peer0 up
    ip -n "$peer" addr add "$prefix.1/24" dev peer0
    ip netns exec "$peer" dnsmasq --no-resolv --no-hosts --port=0 --no-ping --bind-interfaces \
        --interface=peer0 --user=root --pid-file="$work/dnsmasq.pid" --log-dhcp \
        --log-facility="$work/server.log" --dhcp-leasefile="$work/leases" \
        --dhcp-range="$prefix.100,$prefix.199,255.255.255.0,3600" \
        --dhcp-option="option:router,$prefix.1"
    local _
    for _ in $(seq 500); do
        ip netns exec "$peer" ss -uln sport = :67 | grep -q :67 && return 0
        sleep 0.01
    done
    echo "dnsmasq does not listen in $peer" >&2
    return 1
}
