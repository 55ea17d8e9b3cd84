#!/bin/bash
# Builds the Debian package from the build folder, installs it with apt, starts the
# installed program under Xvfb, checks that it shows its main window and finds its helpers
# in /usr/libexec/quorrel, and removes the package again: no file of it may be left.
# Root only, as it installs into the machine's /usr.
#
#   deb-install-test.sh BUILD-DIR [SCREENSHOT.xwd]
set -u
build=$1
shot=${2:-}
skip() {
  echo "SKIPPED: $*" >&2
  [ "${QUORREL_REQUIRE_PACKAGE_TEST:-0}" = 1 ] && exit 1
  exit 77
}
[ "$(id -u)" = 0 ] || skip "installs a package: needs root"
for tool in cpack dpkg-shlibdeps apt-get Xvfb xwininfo; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh test)"
done
if dpkg-query -W -f='${Status}' quorrel 2>/dev/null | grep -q "ok installed"; then
  skip "a quorrel package is installed on this machine already; it is left alone"
fi

work=$(mktemp -d /tmp/quorrel-deb.XXXXXX)
chmod 755 "$work"
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if dpkg-query -W quorrel >/dev/null 2>&1; then
    dpkg --purge quorrel >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../support/check.sh"

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/out/quorrel_*.deb)
check "the package was built" test -f "$deb"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/files"
echo "--- package files"
cat "$work/files"
echo "--- package fields"
dpkg-deb -f "$deb" Package Version Depends Recommends Suggests
for f in /usr/bin/quorrel /usr/libexec/quorrel/quorrel-window /usr/libexec/quorrel/netsh /usr/libexec/quorrel/ipconfig \
  /usr/libexec/quorrel/uninstall-cleanup /usr/share/quorrel/QuorrelHelp.chm \
  /usr/share/applications/quorrel.desktop /usr/share/icons/hicolor/48x48/apps/quorrel.png \
  /usr/share/polkit-1/actions/org.varnok.quorrel.netsh.policy; do
  check "the package holds $f" grep -qx "$f" "$work/files"
done
check "the package depends on Qt 6 and chmlib" \
  bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libqt6widgets6' && dpkg-deb -f '$deb' Depends | grep -q 'libchm1'"

# apt takes the file and its dependencies, which are installed here already: no network.
apt_install() { apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1; }
check "apt installs the package" apt_install
check "every file is in place" bash -c "! grep -v '^/usr/share/doc' '$work/files' | while read -r f; do test -e \"\$f\" || echo missing \$f; done | grep -q ."
check "the policy names the installed netsh" \
  grep -q ">/usr/libexec/quorrel/netsh<" /usr/share/polkit-1/actions/org.varnok.quorrel.netsh.policy
check "the installed program looks for its helpers in /usr/libexec/quorrel" \
  grep -qa "/usr/libexec/quorrel" /usr/bin/quorrel
check "the desktop entry has a Korean name" grep -q "^Name\[ko\]=" /usr/share/applications/quorrel.desktop

# The installed program, as a user's session would start it, under a display of its own.
display=:$((90 + $$ % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
# A user who has used it before: the profile folder is chosen, so the main window comes up
# without the first start's folder prompt.
mkdir -p "$work/home/.config/quorrel/registry" "$work/home/profiles"
printf '[SOFTWARE\\Varnok\\Quorrel]\r\n"PATH"="%s"\r\n' "$work/home/profiles" \
  >"$work/home/.config/quorrel/registry/HKEY_LOCAL_MACHINE.reg"
deadline=$((SECONDS + 20))
until DISPLAY=$display xwininfo -root >/dev/null 2>&1 || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
env -i HOME="$work/home" DISPLAY="$display" PATH=/usr/bin:/bin LANG=ko_KR.UTF-8 \
  /usr/bin/quorrel >"$work/app.log" 2>&1 &
app_pid=$!
# The main window's title: "Quorrel v<version>  [선택 어댑터 : ...]".
shown() { DISPLAY=$display xwininfo -root -tree | grep -q '"Quorrel v[0-9]'; }
deadline=$((SECONDS + 30))
until shown || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
check "the installed program shows its window" shown
DISPLAY=$display xwininfo -root -tree | grep -E '^ +0x[0-9a-f]+ "' | head -5
if [ -n "$shot" ]; then
  DISPLAY=$display xwd -root -silent >"$shot"
fi
check "the program is still running" kill -0 "$app_pid"
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=

apt_purge() { apt-get purge -y -qq quorrel >"$work/apt-remove.log" 2>&1; }
check "apt removes the package" apt_purge
left=$(while read -r f; do [ -e "$f" ] && echo "$f"; done <"$work/files")
check "no file of the package is left${left:+: $left}" test -z "$left"
for d in /usr/libexec/quorrel /usr/share/quorrel; do
  check "$d is gone" test ! -e "$d"
done

[ "$failures" -eq 0 ] || {
  tail -20 "$work/app.log"
  exit 1
}
