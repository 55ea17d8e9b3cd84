#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (qtbase: Core, Gui, Widgets, PrintSupport with Windows
# printing built in, Network, Test, the windows platform plugin) with Debian's mingw-w64,
# from Debian's own qt6-base source package of the same version as the machine's Qt, so the Windows program
# is built against the Qt the Linux one uses.
#
# The result goes to a cache folder outside the clone, keyed by the version, and a second run
# only prints its path:
#   ${QUORREL_WINDOWS_QT_CACHE:-/var/cache/quorrel/windows-qt}/<version>
# Usage: scripts/build-windows-qt.sh            (prints the install folder on standard output)
#        scripts/build-windows-qt.sh --cached   (prints it and exits 0 only when it is built)
#        scripts/build-windows-qt.sh --fetch    (only installs and unpacks what the build
#                                               needs: everything that uses apt)
# Installs what it needs (scripts/install-deps.sh windows-qt). Building takes roughly half an
# hour on two cores, at low priority.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

cache=${QUORREL_WINDOWS_QT_CACHE:-/var/cache/quorrel/windows-qt}

host_qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/^[0-9]*://; s/[-+].*//'
}

# The dfsg source has no wintab.h, so no tablet events; desktop OpenGL stays on, the windows
# platform plugin of 6.4 needs it (and so does the Direct2D plugin: without it PrintSupport
# does not link, its print engine calls the DirectWrite font engine). The dfsg source has no
# SQLite either, and the program uses neither SQL nor D-Bus on Windows.
qt_options=(
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
)

version=$(host_qt_version)
prefix="$cache/$version"
if [ -f "$prefix/.complete" ]; then
    echo "== windows Qt $version: cached in $prefix" >&2
    echo "$prefix"
    exit 0
fi
if [ "${1:-}" = "--cached" ]; then
    exit 1
fi
scripts/install-deps.sh windows-qt

started=$(date +%s)

work="$cache/build-$version"
mkdir -p "$cache"
exec 9>"$cache/.lock-$version"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# The source package: apt-get source needs a deb-src entry with the URIs and suites of the
# machine's own Debian entry; it is added beside it once.
src_list=/etc/apt/sources.list.d/quorrel-deb-src.sources
if ! apt-get source --print-uris qt6-base="$(dpkg-query -W -f='${Version}' qt6-base-dev)" \
    >/dev/null 2>&1; then
    main_list=/etc/apt/sources.list.d/debian.sources
    if [ -f "$main_list" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$main_list" >"$src_list"
    else
        grep -E '^deb [^ ]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            >"${src_list%.sources}.list"
    fi
    apt-get update -qq
fi

mkdir -p "$work"
cd "$work"
if [ ! -d qtbase ]; then
    # apt-get source unpacks it with Debian's patches applied, as the Linux Qt was built.
    rm -rf download
    mkdir download
    (cd download && apt-get source -qq \
        qt6-base="$(dpkg-query -W -f='${Version}' qt6-base-dev)" >&2)
    mv "$(find download -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')" qtbase
    rm -rf download
fi
if [ "${1:-}" = "--fetch" ]; then
    exit 0
fi

echo "== windows Qt $version: configure" >&2
# The project's own mingw toolchain, without its wine emulator (Qt's host tools come from the
# machine's Qt).
rm -rf build
cmake -S qtbase -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-mingw-w64.cmake" \
    -DQUORREL_WINE_EMULATOR=OFF \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${qt_options[@]}" \
    >configure.log 2>&1 || {
    tail -n 40 configure.log >&2
    exit 1
}

echo "== windows Qt $version: build" >&2
nice -n 10 cmake --build build -j "$(nproc)" >build.log 2>&1 || {
    grep -m 20 -B 2 -A 8 'error' build.log >&2 || tail -n 40 build.log >&2
    exit 1
}
rm -rf "$prefix"
cmake --install build >install.log 2>&1
touch "$prefix/.complete"
cd "$source_dir"
rm -rf "$work"
echo "== windows Qt $version: built in $(($(date +%s) - started)) s into $prefix" >&2
echo "$prefix"
