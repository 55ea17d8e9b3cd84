#!/bin/bash
# A profile exported as a netplan file (quorrel --export netplan) read by netplan itself:
# `netplan generate` into a scratch root (nothing of the machine is read or written) must
# turn it into a systemd-networkd unit with the profile's address, gateway and DNS servers.
#
#   export-netplan-test.sh SOURCE-DIR QUORREL
set -u
SOURCE_DIR=$1
QUORREL=$2
command -v netplan >/dev/null || { echo "SKIPPED: netplan is not installed (scripts/install-deps.sh test)" >&2; exit 77; }
. "$SOURCE_DIR/tests/support/check.sh"

scratch=$(mktemp -d /tmp/quorrel-netplan.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/registry" "$scratch/profiles" "$scratch/root/etc/netplan"
printf '[SOFTWARE\\Varnok\\Quorrel]\r\n"PATH"="%s"\r\n' "$scratch/profiles" \
  >"$scratch/registry/HKEY_LOCAL_MACHINE.reg"
printf '실험실||FALSE||10.77.0.30||255.255.255.0||10.77.0.1||FALSE||10.77.0.9||10.77.0.8\r\n' |
  iconv -f UTF-8 -t CP949 >"$scratch/profiles/quorrel.dat"

yaml="$scratch/root/etc/netplan/50-lab.yaml"
QUORREL_REGISTRY_DIR="$scratch/registry" "$QUORREL" --export netplan 실험실 --adapter lab0 >"$yaml"
check "the netplan file is written" test $? = 0
chmod 600 "$yaml"
check "netplan reads it" netplan generate --root-dir "$scratch/root"
unit="$scratch/root/run/systemd/network/10-netplan-lab0.network"
check "for the interface" grep -qx "Name=lab0" "$unit"
check "the fixed address" grep -qx "Address=10.77.0.30/24" "$unit"
check "the gateway" grep -qx "Gateway=10.77.0.1" "$unit"
check "the DNS servers" bash -c "grep -qx 'DNS=10.77.0.9' '$unit' && grep -qx 'DNS=10.77.0.8' '$unit'"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed:"
  cat "$yaml" "$unit"
  exit 1
fi
