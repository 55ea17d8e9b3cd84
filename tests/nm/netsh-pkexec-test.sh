#!/bin/bash
# netsh's direct road, for an interface no network manager manages, from a user without
# rights: netsh says it needs rights and changes nothing; the program's process runner
# (through apply-lines) then starts it once more through pkexec. With a polkit rule that
# lets the user, the change is made as root; without one, the apply fails with pkexec's
# refusal in its details and nothing changes. netsh as root takes none of its caller's
# overrides (state folder, resolver file, PATH): they are set and shown to have no effect.
#
#   netsh-pkexec-test.sh SOURCE-DIR NETSH APPLY-LINES
set -u
STAGE_SOURCE_DIR=$1
NETSH=$2
APPLY_LINES=$3
. "$STAGE_SOURCE_DIR/tests/nm/nm-stage.sh"
stage_enter "$@"

. "$STAGE_SOURCE_DIR/tests/support/check.sh"

# pkexec finds the action by the program's real path, as the runner passes it.
stage_start "$(readlink -f "$NETSH")" || exit 1

# The fixed places a netsh with rights writes, made private to this mount namespace.
made_state_parent=0
if [ ! -d /var/lib/quorrel ]; then
  mkdir -p /var/lib/quorrel && made_state_parent=1
fi
mkdir -p "$STAGE_DIR/var-quorrel"
mount --bind "$STAGE_DIR/var-quorrel" /var/lib/quorrel
printf 'nameserver 10.99.0.1\n' >"$STAGE_DIR/resolv.conf"
mount --bind "$STAGE_DIR/resolv.conf" /etc/resolv.conf
cleanup() {
  umount /etc/resolv.conf /var/lib/quorrel 2>/dev/null
  [ "$made_state_parent" = 1 ] && rmdir /var/lib/quorrel 2>/dev/null
  stage_stop
}
trap cleanup EXIT

# An interface NetworkManager leaves alone (unmanaged-devices names only qnm0).
IF=qdr0
stage_run ip link add "$IF" type veth peer name qdr1
stage_run ip link set qdr1 up
STATIC="netsh.exe interface ip set address \"$IF\" source=static addr=10.78.0.10 mask=255.255.255.0 gateway=10.78.0.1 1"
DNS_STATIC="netsh.exe interface ip set dns name=\"$IF\" source=static 10.78.0.9 primary"

apply() {
  stage_as_user env QUORREL_NETSH="$NETSH" "$APPLY_LINES" "$@" >"$STAGE_DIR/out" 2>"$STAGE_DIR/err"
}
kernel_addresses() { stage_run ip -4 -o addr show dev "$IF" | awk '{print $4}' | tr '\n' ' '; }

# netsh itself, as the user: the distinct exit code, before anything changes.
stage_as_user "$NETSH" interface ip set address "$IF" source=static addr=10.78.0.10 \
  mask=255.255.255.0 >/dev/null 2>"$STAGE_DIR/netsh-err"
check "netsh without rights exits with 77" test $? = 77
check "and says it needs administrator rights" grep -q "administrator rights" "$STAGE_DIR/netsh-err"

apply "$STATIC" "$DNS_STATIC"
check "without the polkit rule the apply fails" test $? = 1
check "its details say rights are needed" grep -q "administrator rights" "$STAGE_DIR/err"
check "and carry pkexec's refusal" grep -qi "authentication\|not authorized" "$STAGE_DIR/err"
check "nothing changed on the interface" test -z "$(kernel_addresses)"
check "nor in resolv.conf" test "$(cat "$STAGE_DIR/resolv.conf")" = "nameserver 10.99.0.1"

stage_allow_user || exit 1
apply "$STATIC" "$DNS_STATIC"
check "with the polkit rule the apply succeeds through pkexec" test $? = 0
cat "$STAGE_DIR/err"
check "kernel: the fixed address" test "$(kernel_addresses)" = "10.78.0.10/24 "
check "kernel: the gateway" test "$(stage_run ip -4 route show default dev "$IF" | awk '{print $3}')" = 10.78.0.1
check "resolv.conf: the DNS server" grep -q "^nameserver 10.78.0.9" "$STAGE_DIR/resolv.conf"
check "the state is kept in the fixed folder, owned by root" \
  test "$(stat -c %U /var/lib/quorrel/netstate)" = root

# Root with a caller's overrides: a false `ip` early in PATH, a state folder and a resolver
# file of the caller's choice. None of them may be used.
mkdir -p "$STAGE_DIR/evil/bin" "$STAGE_DIR/evil/state"
printf '#!/bin/sh\ntouch %s/evil/ip-ran\nexit 0\n' "$STAGE_DIR" >"$STAGE_DIR/evil/bin/ip"
chmod 755 "$STAGE_DIR/evil/bin/ip"
: >"$STAGE_DIR/evil/resolv.conf"
stage_run env PATH="$STAGE_DIR/evil/bin:$PATH" QUORREL_NETSTATE_DIR="$STAGE_DIR/evil/state" \
  QUORREL_RESOLV_CONF="$STAGE_DIR/evil/resolv.conf" QUORREL_DHCP_WAIT_MS=1 \
  "$NETSH" interface ip set address "$IF" source=static addr=10.78.0.20 mask=255.255.255.0 \
  >/dev/null 2>&1
check "root netsh with overrides set still applies" test $? = 0
stage_run env QUORREL_RESOLV_CONF="$STAGE_DIR/evil/resolv.conf" "$NETSH" interface ip set dns \
  name="$IF" source=static 10.78.0.7 primary >/dev/null 2>&1
check "the caller's ip was not run" test ! -e "$STAGE_DIR/evil/ip-ran"
check "the caller's state folder stayed empty" test -z "$(ls -A "$STAGE_DIR/evil/state")"
check "the caller's resolver file stayed empty" test ! -s "$STAGE_DIR/evil/resolv.conf"
check "the system's resolv.conf got the server" grep -q "^nameserver 10.78.0.7" "$STAGE_DIR/resolv.conf"
check "kernel: the new address" test "$(kernel_addresses)" = "10.78.0.20/24 "

[ "$failures" -eq 0 ] || exit 1
