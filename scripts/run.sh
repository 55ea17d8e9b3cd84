#!/usr/bin/env bash
# Builds Quorrel and starts it. Installs what it needs first. Without a display the
# program is shown on a virtual one (Xvfb). Changing the network needs root.
#
# scripts/run.sh --sandbox starts it instead inside a throw-away network namespace with
# example adapters, a DHCP server and example profiles (scripts/sandbox.sh), removed again
# when the window closes. Making the namespace needs root: it asks through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

sandbox=false
if [ "${1:-}" = --sandbox ]; then
    sandbox=true
    shift
fi

if $sandbox; then
    scripts/install-deps.sh sandbox
else
    scripts/install-deps.sh run
fi

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

program=build/default/bin/quorrel
launch=("$program" "$@")
if $sandbox; then
    launch=(scripts/sandbox.sh "$PWD/$program")
    if [ "$(id -u)" -ne 0 ]; then
        echo "The sandbox needs root to make a network namespace; asking sudo." >&2
        launch=(sudo "--preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_SESSION_TYPE"
            "${launch[@]}")
    fi
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "${launch[@]}"
else
    echo "No display found: starting Quorrel on a virtual display (Xvfb)." >&2
    # Without access control, so that the sandbox's window can use it as the invoking user.
    server_args="-screen 0 1024x768x24"
    if $sandbox; then server_args="$server_args -ac"; fi
    exec xvfb-run -a -s "$server_args" "${launch[@]}"
fi
