#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the program's real windows on a virtual display
# (Xvfb, 96 dpi), with stand-ins for the adapters, the registry, the ipconfig report and
# the apply's commands, so that nothing of this machine shows and nothing changes. Run it
# after changing a window: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test  # pdftoppm (poppler-utils) renders the printed page

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target grab_docs_pictures

out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# A home, data and settings folder of their own: the real ones stay untouched.
HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
    QUORREL_REGISTRY_DIR="$scratch/registry" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    build/default/bin/grab_docs_pictures "$out" "$scratch/printed.pdf"

# The printed page at a readable size (the first page of the PDF).
pdftoppm -png -r 90 -f 1 -l 1 -singlefile "$scratch/printed.pdf" "$out/printed-page"
echo "$out/printed-page.png"

# The help book shows the dialogs on pages of their own.
for picture in profile-editor adapter-dialog adapter-status apply-confirm apply-progress; do
    cp "$out/$picture.png" help/images/
done
