#!/usr/bin/env bash
# Pictures of the Windows program's real windows under wine, as a Windows user sees them:
# quorrel.exe of the windows build (scripts/test-windows.sh builds it) on a virtual display
# (Xvfb, 96 dpi) in a throw-away wine prefix, with wine's own registry, adapters and fonts
# (the Nanum faces stand in for 굴림 and 굴림체). xdotool clicks the toolbar as a user would;
# the pictures land in docs/screenshots/windows/. An apply runs against the recording
# netsh.exe that the tests build beside the program (wine's own netsh changes nothing).
# Usage: scripts/screenshots-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshots

bin=$PWD/build/windows/bin
[ -x "$bin/quorrel.exe" ] || { echo "build the windows preset first (scripts/test-windows.sh)" >&2; exit 1; }
out=$PWD/docs/screenshots/windows
mkdir -p "$out"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorrel-shots.XXXXXX")
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
finish() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap finish EXIT
export DISPLAY=$display

# The newest visible window other than the main one, once one has appeared.
dialog() {
    local id deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$main" | tail -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "no dialog appeared" >&2
    return 1
}
grab() {
    sleep 1  # the window paints after it maps; nothing to wait on from outside
    import -window "$1" "$out/$2.png"
    echo "$out/$2.png"
}

wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 굴림 /d NanumBarunGothic /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 굴림체 /d NanumGothicCoding /f \
    >/dev/null 2>&1
# The folder the installer would have named, so the program does not ask for it.
mkdir -p "$WINEPREFIX/drive_c/Quorrel"
wine reg add 'HKLM\SOFTWARE\Varnok\Quorrel' /v PATH /d 'C:\Quorrel' /f /reg:64 >/dev/null 2>&1
# wine's registry has no connection keys for its adapters: eth0 gets the ones a Windows
# machine has, under the name a Korean Windows gives it, and becomes the chosen adapter;
# no connection check after the apply (wine's adapters go nowhere).
eth0=$(wine wmic path Win32_NetworkAdapter get GUID,Name 2>/dev/null | iconv -f UTF-16LE -t UTF-8 |
    tr -d '\r' | awk '$2 == "eth0" { print $1 }')
[ -n "$eth0" ] || { echo "wine reports no eth0 adapter" >&2; exit 1; }
wine reg add "HKLM\SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}\\$eth0\Connection" \
    /v Name /d '로컬 영역 연결' /f >/dev/null 2>&1
wine reg add "HKLM\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces\\$eth0" \
    /v NameServer /d '' /f >/dev/null 2>&1
wine reg add 'HKLM\SOFTWARE\Varnok\Quorrel' /v AdapterName /d '로컬 영역 연결' /f /reg:64 >/dev/null 2>&1
wine reg add 'HKLM\SOFTWARE\Varnok\Quorrel' /v AutoCheck /t REG_DWORD /d 0 /f /reg:64 >/dev/null 2>&1
export QUORREL_NETSH_RECORD='C:\Quorrel\netsh.txt' QUORREL_NETSH_HOLD='C:\Quorrel\netsh.go'

(cd "$bin" && LC_ALL=ko_KR.UTF-8 wine quorrel.exe >/dev/null 2>&1 &)
# The adapters without keys (wine's ifb ones) the program names in message boxes under its
# title, once each; the main window is the wide one.
width() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
main=
shown=0
deadline=$((SECONDS + 60))
while [ -z "$main" ] && [ $SECONDS -lt $deadline ]; do
    message=
    for id in $(xdotool search --onlyvisible --name 'Quorrel' 2>/dev/null || true); do
        if [ "$(width "$id")" -lt 600 ]; then
            message=$id
        else
            candidate=$id
        fi
    done
    if [ -n "$message" ]; then
        [ $shown -eq 1 ] || { grab "$message" startup-message; shown=1; }
        xdotool key --window "$message" Return
        sleep 0.5
    elif [ -n "${candidate:-}" ]; then
        main=$candidate
    else
        sleep 0.2
    fi
done
[ -n "$main" ] || { echo "the main window did not appear" >&2; exit 1; }
grab "$main" main-window

# The toolbar's buttons, from the window's left edge, at the height of their icons.
click() {
    xdotool mousemove --window "$main" "$1" 46 click 1
}
for shot in "186 profile-editor" "81 adapter-dialog" "382 adapter-status" "480 about"; do
    set -- $shot
    click "$1"
    id=$(dialog)
    grab "$id" "$2"
    # Escape through the keyboard, as a user closes it; then wait until it has gone.
    xdotool windowfocus "$id" 2>/dev/null || true
    xdotool key Escape
    deadline=$((SECONDS + 30))
    while xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$id"; do
        [ $SECONDS -lt $deadline ] || { echo "$2 did not close" >&2; exit 1; }
        sleep 0.2
    done
done

# An apply by double-click on the profile the program took over from eth0 ("설정[1]", the
# first row): the confirmation, 예, the progress dialog while netsh is held, and the result.
closed() {
    local deadline=$((SECONDS + 30))
    while xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1"; do
        [ $SECONDS -lt $deadline ] || { echo "$1 did not close" >&2; exit 1; }
        sleep 0.2
    done
}
xdotool mousemove --window "$main" 60 106 click --repeat 2 --delay 80 1
id=$(dialog)
grab "$id" apply-confirm
xdotool windowfocus "$id" 2>/dev/null || true
xdotool key Return
closed "$id"
id=$(dialog)
grab "$id" apply-progress
touch "$WINEPREFIX/drive_c/Quorrel/netsh.go"
closed "$id"
id=$(dialog)
grab "$id" apply-done
xdotool windowfocus "$id" 2>/dev/null || true
xdotool key Return
closed "$id"
echo "netsh received:"
iconv -f CP949 -t UTF-8 "$WINEPREFIX/drive_c/Quorrel/netsh.txt"

# Help through HtmlHelpA: wine's HTML Help opens its window on the book; the page itself
# stays empty, since wine shows HTML through Gecko, which Debian does not ship.
click 432
id=$(dialog)
grab "$id" help-window
