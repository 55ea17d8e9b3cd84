#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the program's real windows on a virtual display
# (Xvfb, 96 dpi), with stand-ins for the adapters, the registry, the ipconfig report and
# the apply's commands, so that nothing of this machine shows and nothing changes. Run it
# after changing a window: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test  # pdftoppm (poppler-utils) renders the printed page
scripts/install-deps.sh screenshots  # wmsystemtray: a tray for the tray picture

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target grab_docs_pictures grab_safety_pictures \
    grab_tray_pictures

out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# A home, data and settings folder of their own, laid out as a user's home (the folder
# prompt shows the path): the real ones stay untouched.
mkdir -p "$scratch/home"
HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share" \
    XDG_CONFIG_HOME="$scratch/home/.config" \
    QUORREL_REGISTRY_DIR="$scratch/registry" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    build/default/bin/grab_docs_pictures "$out" "$scratch/printed.pdf"

# The connection check after an apply: the countdown, and the offer to go back.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    build/default/bin/grab_safety_pictures docs
echo docs/safety-countdown.png docs/safety-check-failed.png

# The recognition's offer, and the tray icon's menu beside a system tray (wmsystemtray)
# that holds the icon.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c '
    wmsystemtray --non-wmaker --bgcolor "#d4d0c8" -geometry 64x64+1200+0 >/dev/null 2>&1 &
    tray=$!
    trap "kill $tray" EXIT
    "$1" "$2"' tray build/default/bin/grab_tray_pictures "$out"

# The printed page at a readable size (the first page of the PDF).
pdftoppm -png -r 90 -f 1 -l 1 -singlefile "$scratch/printed.pdf" "$out/printed-page"
echo "$out/printed-page.png"

# The help book shows the dialogs on pages of their own.
for picture in profile-editor adapter-dialog adapter-status apply-confirm apply-progress; do
    cp "$out/$picture.png" help/images/
done
