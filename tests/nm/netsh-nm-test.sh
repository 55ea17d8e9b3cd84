#!/bin/bash
# netsh's road through NetworkManager, through the program's command worker (apply-lines)
# as a user without rights, against a NetworkManager, polkitd and DHCP server of the
# test's own (nm-stage.sh): a fixed profile, hand-set DNS, a DHCP profile and automatic
# DNS. After each apply the kernel (ip), NetworkManager (nmcli) and NetworkManager's
# resolv.conf must agree. Without the polkit rule that lets the user change the network,
# the apply fails with NetworkManager's reason in its details and changes nothing.
#
#   netsh-nm-test.sh SOURCE-DIR NETSH APPLY-LINES
set -u
STAGE_SOURCE_DIR=$1
NETSH=$2
APPLY_LINES=$3
. "$STAGE_SOURCE_DIR/tests/nm/nm-stage.sh"
stage_enter "$@"

. "$STAGE_SOURCE_DIR/tests/support/check.sh"

stage_start || exit 1

# The lines exactly as the program writes them (resources/ApplyTexts.h).
IF=$STAGE_IF
STATIC="netsh.exe interface ip set address \"$IF\" source=static addr=10.77.0.10 mask=255.255.255.0 gateway=10.77.0.1 1"
DHCP="netsh.exe interface ip set address \"$IF\" source=dhcp"
DNS_STATIC="netsh.exe interface ip set dns name=\"$IF\" source=static 10.77.0.9 primary"
DNS_ADD="netsh.exe interface ip add dns name=\"$IF\" addr=10.77.0.8 index=2"
DNS_DHCP="netsh.exe interface ip set dns name=\"$IF\" source=dhcp"

apply() {
  stage_as_user env QUORREL_NETSH="$NETSH" "$APPLY_LINES" "$@" >"$STAGE_DIR/out" 2>"$STAGE_DIR/err"
}
kernel_addresses() { stage_run ip -4 -o addr show dev "$IF" | awk '{print $4}' | sort | tr '\n' ' '; }
kernel_gateway() { stage_run ip -4 route show default dev "$IF" | awk '{print $3}'; }
# nmcli -g separates the values of a field with " | ".
nm_field() { stage_run nmcli -g "$1" dev show "$IF" | sed 's/ | / /g' | tr '\n' ' ' | sed 's/ *$//'; }
# What our ipconfig says of the interface: its "DHCP 사용" answer and its first DNS server.
IPCONFIG=$(dirname "$NETSH")/ipconfig
ipconfig_field() {
  stage_as_user "$IPCONFIG" /all | tr -d '\r' |
    awk -v field="$1" -v ifname=" $IF:" 'index($0, ifname) {f = 1} f && index($0, field) {print $NF; exit}'
}
nm_nameservers() { stage_resolv_conf | awk '/^nameserver/ {print $2}' | tr '\n' ' ' | sed 's/ *$//'; }

# Without the rule: refused, with NetworkManager's words, and nothing changed.
apply "$STATIC" "$DNS_STATIC"
check "an apply without the polkit rule fails" test $? = 1
check "its details carry NetworkManager's reason" grep -qi "privileges\|not authorized" "$STAGE_DIR/err"
check "nothing changed on the device" test -z "$(kernel_addresses)"
check "no connection was left behind" test -z "$(stage_run nmcli -t -f NAME con show)"

stage_allow_user || exit 1

check "a fixed profile with two DNS servers applies" apply "$STATIC" "$DNS_STATIC" "$DNS_ADD"
check "kernel: the fixed address" test "$(kernel_addresses)" = "10.77.0.10/24 "
check "kernel: the gateway" test "$(kernel_gateway)" = 10.77.0.1
check "NetworkManager: the fixed address" test "$(nm_field IP4.ADDRESS)" = "10.77.0.10/24"
check "NetworkManager: the gateway" test "$(nm_field IP4.GATEWAY)" = "10.77.0.1"
check "NetworkManager: the DNS servers" test "$(nm_field IP4.DNS)" = "10.77.0.9 10.77.0.8"
check "resolv.conf: the DNS servers" test "$(nm_nameservers)" = "10.77.0.9 10.77.0.8"
check "ipconfig: no DHCP" test "$(ipconfig_field "DHCP 사용")" = "아니요"
check "ipconfig: the hand-set DNS server" test "$(ipconfig_field "DNS 서버")" = "10.77.0.9"

check "a DHCP profile with automatic DNS applies" apply "$DHCP" "$DNS_DHCP"
leased=$(kernel_addresses)
check "kernel: a leased address ($leased)" bash -c "[[ '$leased' =~ ^10\.77\.0\.1[0-5][0-9]/24\ \$ ]]"
check "kernel: the lease's gateway" test "$(kernel_gateway)" = 10.77.0.1
check "NetworkManager: the lease" test "$(nm_field IP4.ADDRESS) " = "$leased"
check "NetworkManager: the lease's DNS server" test "$(nm_field IP4.DNS)" = "10.77.0.53"
check "resolv.conf: the lease's DNS server" test "$(nm_nameservers)" = "10.77.0.53"
check "ipconfig: DHCP" test "$(ipconfig_field "DHCP 사용")" = "예"

check "hand-set DNS on a DHCP address applies" apply "$DHCP" "$DNS_STATIC"
check "resolv.conf: only the hand-set server" test "$(nm_nameservers)" = "10.77.0.9"
check "NetworkManager: only the hand-set server" test "$(nm_field IP4.DNS)" = "10.77.0.9"
check "ipconfig: DHCP with the hand-set server" \
  test "$(ipconfig_field "DHCP 사용") $(ipconfig_field "DNS 서버")" = "예 10.77.0.9"

# The user loses the right again: the next apply fails and the device keeps what it had.
stage_disallow_user || exit 1
apply "$STATIC"
check "after the rule went, an apply fails" test $? = 1
check "its details carry NetworkManager's reason" grep -qi "privileges\|not authorized" "$STAGE_DIR/err"
check "the device keeps its lease" test "$(kernel_addresses)" = "$leased"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed; NetworkManager's log:"
  tail -30 "$STAGE_DIR/nm.log"
  exit 1
fi
