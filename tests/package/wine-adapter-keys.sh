#!/usr/bin/env bash
# Gives every adapter wine reports the registry keys a Windows machine has for it (its
# connection name and its Tcpip interface key), which a fresh wine prefix lacks: the first
# one is "로컬 영역 연결", the next "로컬 영역 연결 2" and so on, as a Korean Windows names
# them. Prints the adapters' ids and names. Uses the prefix of $WINEPREFIX; WINE names the
# command that runs a Windows program there (default: wine).
# Usage: wine-adapter-keys.sh
set -euo pipefail
wine=${WINE:-wine}
network='HKLM\SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}'
interfaces='HKLM\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces'
ids=$($wine wmic path Win32_NetworkAdapter get GUID 2>/dev/null | iconv -f UTF-16LE -t UTF-8 |
    tr -d '\r' | grep -o '{[0-9A-Fa-f-]*}' || true)
[ -n "$ids" ] || { echo "wine reports no network adapter" >&2; exit 1; }
n=0
for id in $ids; do
    n=$((n + 1))
    name='로컬 영역 연결'
    [ $n -eq 1 ] || name="$name $n"
    $wine reg add "$network\\$id\\Connection" /v Name /d "$name" /f >/dev/null 2>&1
    $wine reg add "$interfaces\\$id" /v NameServer /d '' /f >/dev/null 2>&1
    echo "$id $name"
done
