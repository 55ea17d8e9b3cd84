#!/bin/bash
# The time of an apply (the command worker from its start to its end, as after "예")
# through each road, median of 5, inside the test stage of nm-stage.sh. Measures, checks
# nothing; run by hand as root:
#
#   tests/nm/bench-roads.sh SOURCE-DIR BUILD-BIN-DIR
#
# NetworkManager: a fixed profile with two DNS servers (three lines), a DHCP profile
# (two lines), as a user allowed by polkit. pkexec: the fixed profile on an interface
# nobody manages, as that user, each line through pkexec. Direct: the same as root (the
# road before NetworkManager and pkexec), with netsh-testing keeping its state in the stage.
set -u
STAGE_SOURCE_DIR=$1
BIN=$2
. "$STAGE_SOURCE_DIR/tests/nm/nm-stage.sh"
stage_enter "$@"
stage_start "$(readlink -f "$BIN/netsh")" >/dev/null || exit 1
stage_allow_user >/dev/null || exit 1

mkdir -p /var/lib/quorrel 2>/dev/null && made=1 || made=0
mkdir -p "$STAGE_DIR/var-quorrel"
mount --bind "$STAGE_DIR/var-quorrel" /var/lib/quorrel
printf 'nameserver 10.99.0.1\n' >"$STAGE_DIR/resolv.conf"
mount --bind "$STAGE_DIR/resolv.conf" /etc/resolv.conf
trap 'umount /etc/resolv.conf /var/lib/quorrel; [ $made = 1 ] && rmdir /var/lib/quorrel; stage_stop' EXIT
stage_run ip link add qdr0 type veth peer name qdr1
stage_run ip link set qdr1 up

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
lines_for() {
  local ifname=$1 last=$2
  echo "netsh.exe interface ip set address \"$ifname\" source=static addr=10.7$last.0.$3 mask=255.255.255.0 gateway=10.7$last.0.1 1"
  echo "netsh.exe interface ip set dns name=\"$ifname\" source=static 10.7$last.0.9 primary"
  echo "netsh.exe interface ip add dns name=\"$ifname\" addr=10.7$last.0.8 index=2"
}
run_user() { stage_as_user env QUORREL_NETSH="$BIN/netsh" "$BIN/apply-lines" "$@"; }
run_root() {
  stage_run env QUORREL_NETSH="$BIN/netsh-testing" QUORREL_NETSTATE_DIR="$STAGE_DIR/direct" \
    QUORREL_RESOLV_CONF="$STAGE_DIR/direct-resolv.conf" "$BIN/apply-lines" "$@"
}
: >"$STAGE_DIR/direct-resolv.conf"
measure() {
  local what=$1 runner=$2 ifname=$3 net=$4 i times=()
  for i in 1 2 3 4 5; do
    mapfile -t lines < <(lines_for "$ifname" "$net" $((10 + i)))
    out=$($runner "${lines[@]}") || { echo "$what: apply failed: $out" >&2; return 1; }
    times+=("$(echo "$out" | awk '/^elapsed-ms/ {print $2}')")
  done
  echo "$what: median $(printf '%s\n' "${times[@]}" | median) ms (runs: ${times[*]})"
}
measure_dhcp() {
  local i times=() fixed
  for i in 1 2 3 4 5; do
    mapfile -t fixed < <(lines_for qnm0 7 $((20 + i)))
    run_user "${fixed[@]}" >/dev/null
    out=$(run_user "netsh.exe interface ip set address \"qnm0\" source=dhcp" \
      "netsh.exe interface ip set dns name=\"qnm0\" source=dhcp") || { echo "dhcp failed: $out" >&2; return 1; }
    times+=("$(echo "$out" | awk '/^elapsed-ms/ {print $2}')")
  done
  echo "NetworkManager, DHCP profile (2 lines): median $(printf '%s\n' "${times[@]}" | median) ms (runs: ${times[*]})"
}
measure "NetworkManager, fixed profile (3 lines)" run_user qnm0 7
measure_dhcp
measure "pkexec, fixed profile (3 lines)" run_user qdr0 8
measure "direct as root, fixed profile (3 lines)" run_root qdr0 8
