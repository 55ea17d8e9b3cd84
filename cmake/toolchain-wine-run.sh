#!/usr/bin/env bash
# Runs one Windows program of the cross build under wine64, quietly and without a display.
# scripts/test-windows.sh prepares a throw-away prefix and exports WINEPREFIX; started on
# its own (ctest in build/windows), this script keeps a prefix of its own in the temporary
# folder and prepares it once.
set -euo pipefail

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installer prompts, no windows.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# A Korean system: the code page of the narrow texts is 949, as the program expects. Wine
# also needs the locale itself to map Korean file names to the UTF-8 names on disk; when the
# machine has not generated it, a private copy is built once (LOCPATH points glibc to it).
{ export LC_ALL=ko_KR.UTF-8; } 2>/dev/null  # bash warns when the locale is missing
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    locales="${TMPDIR:-/tmp}/quorrel-locale-$(id -u)"
    if [ ! -f "$locales/ko_KR.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$locales"
        (
            flock 9
            [ -f "$locales/ko_KR.UTF-8/LC_CTYPE" ] ||
                localedef -i ko_KR -f UTF-8 "$locales/ko_KR.UTF-8" >/dev/null 2>&1 || true
        ) 9>"$locales.lock"
    fi
    export LOCPATH="$locales"
fi

if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="${TMPDIR:-/tmp}/quorrel-wine-$(id -u)"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # Several tests may start at once: one of them prepares the prefix.
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >/dev/null 2>&1 || true
            # Without a display, windows (the tests make a few) need wine's null driver;
            # it is read when a process starts, so set it before any test runs.
            wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ||
                true
            # A Korean Windows has 굴림 and 굴림체; in the test prefix the Nanum faces that
            # wine finds through fontconfig stand in for them.
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 굴림 /d NanumBarunGothic \
                /f >/dev/null 2>&1 || true
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 굴림체 \
                /d NanumGothicCoding /f >/dev/null 2>&1 || true
            wineserver -k >/dev/null 2>&1 || true
            wineserver -w
        fi
    ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
