#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quorrel needs.
# This script owns the package list; the run and test scripts call it first.
# Usage: scripts/install-deps.sh [run|test]   (default: test, which is a superset)
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
  fp-utils libchm-dev  # the help book: chmcmd compiles it, chmlib reads it
)

# Everything the test suites use on top of that: GoogleTest, clang-format, the
# network-namespace tests (dnsmasq as DHCP server), the Windows build under wine, the
# printing tests (pdftotext and pdftoppm read the printed pages back).
test_packages=(
  googletest libgtest-dev libgmock-dev
  clang-format
  dnsmasq-base
  poppler-utils
  g++-mingw-w64-x86-64-posix wine wine64
)

packages=("${run_packages[@]}")
if [ "$purpose" = test ]; then
  packages+=("${test_packages[@]}")
fi

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
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
