#!/usr/bin/env bash
# The Windows installer as a user meets it, under wine in the prefix of $WINEPREFIX:
# cpack makes quorrel-<version>-win64.exe, a silent install (/S) puts every file into
# Program Files\Quorrel with a Start-menu entry under the program's Korean name, the
# installed command line (quorrel.com) answers, quorrel.exe starts with its window, a second
# start finds the first (the mutex, then the window title), and a silent uninstall
# leaves no installed file behind (the profile file in that folder stays).
# Usage: windows-installer-test.sh BUILD_FOLDER   (prints the installer's file list and a log)
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
run="$here/cmake/toolchain-wine-run.sh"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

(cd "$build" && cpack -G NSIS >cpack.log 2>&1) || {
    cat "$build/cpack.log" >&2
    fail "cpack could not make the installer"
}
installer=$(ls "$build"/quorrel-*-win64.exe)
echo "installer: $(basename "$installer") ($(du -k "$installer" | cut -f1) KiB)"

folder="$WINEPREFIX/drive_c/Program Files/Quorrel"
rm -rf "$folder"
"$run" "$installer" /S >/dev/null 2>&1 || fail "the silent install exited with $?"
[ -f "$folder/quorrel.exe" ] || fail "no quorrel.exe in Program Files\\Quorrel"
echo "installed files:"
(cd "$folder" && find . -type f | sort | sed 's/^\.\//  /')

for file in quorrel.exe quorrel.com uninstall-cleanup.exe QuorrelHelp.chm Qt6Widgets.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_ko.qm \
    libstdc++-6.dll Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$file was not installed"
done
link=$(find "$WINEPREFIX/drive_c" -name '쿼렐 IP 설정 전환기.lnk' | head -n 1)
[ -n "$link" ] || fail "no Start-menu entry named 쿼렐 IP 설정 전환기"
echo "start menu: ${link#"$WINEPREFIX/drive_c/"}"

# The installed command line, typed as "quorrel" in its own folder (cmd.exe takes quorrel.com
# before quorrel.exe); into a pipe it writes the system's code page.
answer=$(cd "$folder" && "$run" cmd.exe /c quorrel --list 2>&1 | iconv -f CP949 -t UTF-8 |
    tr -d '\r') || fail "the installed program failed to start: $answer"
echo "installed program started (--list): ${answer:-no profiles}"
# wine's adapters get the registry keys a Windows machine has, so that the program starts
# without a message box; a message of a refused start goes to the debugger output.
WINE="$run" "$here/tests/package/wine-adapter-keys.sh" >/dev/null
title="Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결]"
windows() { "$run" "$build/bin/window-count.exe" "$title" "$1" 2>/dev/null | tr -d '\r'; }
# The started program must not outlive a failed check.
trap '"$run" taskkill /f /im quorrel.exe >/dev/null 2>&1 || true' EXIT
(cd "$folder" && QUORREL_UNATTENDED=1 exec "$run" quorrel.exe >/dev/null 2>&1 </dev/null &)
[ "$(windows 60)" = 1 ] || fail "the installed program showed no window titled $title"
echo "installed program started: its window \"$title\""
# The first one's title names its adapter, so no window has exactly the plain title: the
# second start says that the program runs, and ends.
second=$(cd "$folder" && QUORREL_UNATTENDED=1 WINEDEBUG=-all,+debugstr "$run" quorrel.exe 2>&1) ||
    fail "the second start exited with $?"
said=$(printf '%s\n' "$second" | grep -o 'message: [^"]*' | head -n 1 || true)
said=$(printf '%b' "${said#message: }" | iconv -f CP949 -t UTF-8)
[ "$said" = "이미 실행되어 있습니다." ] || fail "the second start said \"$said\": $second"
[ "$(windows 0)" = 1 ] || fail "after the second start there is not exactly one window"
echo "second start: \"$said\", still one window"
"$run" taskkill /f /im quorrel.exe >/dev/null 2>&1 || fail "the running program could not be ended"
WINEDEBUG=-all wineserver -w

# The profile file a user's profiles would be in: the program keeps it in this folder.
printf '\x01\x00\x00\x00' >"$folder/quorrel.dat"

"$run" "$folder/Uninstall.exe" /S >/dev/null 2>&1 || fail "the silent uninstall exited with $?"
# NSIS's uninstaller copies itself away and returns at once; wait for it to end.
WINEDEBUG=-all wineserver -w
left=$(cd "$folder" 2>/dev/null && find . -type f ! -name quorrel.dat | sort || true)
[ -z "$left" ] || fail "the uninstaller left installed files: $left"
[ -f "$folder/quorrel.dat" ] || fail "the uninstaller removed the user's profile file"
echo "uninstalled: no installed file left, the profile file stays"
