#!/bin/bash
# A profile exported as a NetworkManager keyfile (quorrel --export keyfile), loaded into a
# NetworkManager of the test's own (nm-stage.sh) and activated there: the kernel and
# NetworkManager must then carry the profile's address, gateway and DNS servers.
#
#   export-keyfile-test.sh SOURCE-DIR QUORREL
set -u
STAGE_SOURCE_DIR=$1
QUORREL=$2
. "$STAGE_SOURCE_DIR/tests/nm/nm-stage.sh"
stage_enter "$@"

. "$STAGE_SOURCE_DIR/tests/support/check.sh"

stage_start || exit 1
IF=$STAGE_IF

# Scratch settings naming a profile folder with one fixed profile (CP949, CR LF).
mkdir -p "$STAGE_DIR/registry" "$STAGE_DIR/profiles"
printf '[SOFTWARE\\Varnok\\Quorrel]\r\n"PATH"="%s"\r\n' "$STAGE_DIR/profiles" \
  >"$STAGE_DIR/registry/HKEY_LOCAL_MACHINE.reg"
printf '실험실||FALSE||10.77.0.30||255.255.255.0||10.77.0.1||FALSE||10.77.0.9||10.77.0.8\r\n' |
  iconv -f UTF-8 -t CP949 >"$STAGE_DIR/profiles/quorrel.dat"

keyfile="$STAGE_DIR/keyfiles/lab.nmconnection"
QUORREL_REGISTRY_DIR="$STAGE_DIR/registry" "$QUORREL" --export keyfile 실험실 --adapter "$IF" \
  >"$keyfile" 2>"$STAGE_DIR/err"
check "the keyfile is written" test $? = 0
chmod 600 "$keyfile"
check "NetworkManager loads it" stage_run nmcli con load "$keyfile"
check "it is the profile's connection" test "$(stage_run nmcli -g connection.id con show 실험실)" = 실험실
check "it activates on the interface" stage_run nmcli --wait 20 con up id 실험실 ifname "$IF"

nm_field() { stage_run nmcli -g "$1" dev show "$IF" | sed 's/ | / /g' | tr '\n' ' ' | sed 's/ *$//'; }
check "kernel: the fixed address" \
  test "$(stage_run ip -4 -o addr show dev "$IF" | awk '{print $4}')" = "10.77.0.30/24"
check "kernel: the gateway" \
  test "$(stage_run ip -4 route show default dev "$IF" | awk '{print $3}')" = 10.77.0.1
check "NetworkManager: the address" test "$(nm_field IP4.ADDRESS)" = "10.77.0.30/24"
check "NetworkManager: the DNS servers" test "$(nm_field IP4.DNS)" = "10.77.0.9 10.77.0.8"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed; the keyfile and NetworkManager's log:"
  cat "$keyfile" "$STAGE_DIR/err"
  tail -30 "$STAGE_DIR/nm.log"
  exit 1
fi
