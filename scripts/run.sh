#!/usr/bin/env bash
# Builds Quorrel and starts it. Installs what it needs first. Without a display the
# program is shown on a virtual one (Xvfb). Changing the network needs root.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

program=build/default/bin/quorrel
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
else
    echo "No display found: starting Quorrel on a virtual display (Xvfb)." >&2
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$program" "$@"
fi
