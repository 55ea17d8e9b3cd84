#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quorrel needs.
# This script owns the package list; the run and test scripts call it first.
# Usage: scripts/install-deps.sh [run|sandbox|windows-qt|screenshots|test]   (default: test, which is a superset)
set -euo pipefail

purpose=${1:-test}

# Building and running the program.
run_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-nanum fonts-nanum-coding
  qt6-translations-l10n  # Qt's own texts (standard buttons, file and print dialogs) in Korean
  xvfb xauth
  iproute2 udhcpc
  libsystemd-dev  # sd-bus: netsh and the adapter source talk to NetworkManager over D-Bus
  fp-utils libchm-dev  # the help book: chmcmd compiles it, chmlib reads it
)

# Everything the test suites use on top of that: GoogleTest, clang-format, the
# network-namespace tests (dnsmasq as DHCP server; NetworkManager, a system bus, polkitd
# and pkexec, which the tests start only inside namespaces of their own), the Windows
# build under wine, the printing tests (pdftotext and pdftoppm read the printed pages
# back), the package test (dpkg-shlibdeps finds the package's library dependencies,
# xwininfo looks for its window).
test_packages=(
  googletest libgtest-dev libgmock-dev
  clang-format
  dnsmasq-base
  network-manager dbus-daemon polkitd pkexec
  netplan.io  # netplan generate reads an exported profile (into a scratch root only)
  poppler-utils
  g++-mingw-w64-x86-64-posix wine wine64
  nsis  # the Windows installer (cpack -G NSIS)
  dpkg-dev x11-utils
  clang libclang-rt-dev  # the fuzz targets (scripts/fuzz.sh): clang and its libFuzzer runtime
  libcap2-bin  # capsh: the recognition test also runs without the right to raw sockets
)

# Services these packages bring, which must never start or be enabled on this machine:
# the tests start their own copies inside network namespaces.
host_services=(NetworkManager NetworkManager-dispatcher NetworkManager-wait-online)

# The pictures of the Windows program under wine (scripts/screenshots-windows.sh), and the
# tray that holds the icon in the tray picture of scripts/screenshots.sh (wmsystemtray, a
# freedesktop system tray that needs no desktop around it).
screenshot_packages=(xvfb wine wine64 xdotool imagemagick fonts-nanum fonts-nanum-coding
  wmsystemtray)

# Building Qt for Windows from Debian's source (scripts/build-windows-qt.sh): the machine's
# Qt serves as host tools, dpkg-dev unpacks the source package.
windows_qt_packages=(
  cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev
  g++-mingw-w64-x86-64-posix
)

# The sandbox of scripts/run.sh --sandbox: its DHCP and DNS server, setpriv, iconv.
sandbox_packages=(dnsmasq-base util-linux libc-bin)

packages=("${run_packages[@]}")
case "$purpose" in
  test) packages+=("${test_packages[@]}" "${sandbox_packages[@]}") ;;
  sandbox) packages+=("${sandbox_packages[@]}") ;;
  windows-qt) packages=("${windows_qt_packages[@]}") ;;
  screenshots) packages+=("${screenshot_packages[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive

# While installing, invoke-rc.d asks /usr/sbin/policy-rc.d whether a service may start;
# 101 says no. Ours stays only for the install, unless one was there already.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\n# Put here by quorrel scripts/install-deps.sh while it installs.\nexit 101\n' |
    $sudo tee "$policy" >/dev/null
  $sudo chmod 755 "$policy"
  trap '$sudo rm -f "$policy"' EXIT
fi

$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2

# A package installed here would have its service started at the next boot.
for p in "${missing[@]}"; do
  if [ "$p" = network-manager ]; then
    if command -v systemctl >/dev/null; then
      for unit in "${host_services[@]}"; do
        $sudo systemctl --quiet disable "$unit.service" 2>/dev/null || true
      done
    fi
    if [ -x /etc/init.d/network-manager ]; then
      $sudo update-rc.d network-manager disable >/dev/null 2>&1 || true
    fi
  fi
done
