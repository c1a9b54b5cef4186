#!/usr/bin/env bash
# Renders the application icon's PNG sizes from solvena.svg (needs rsvg-convert, Debian package
# librsvg2-bin). Run it after changing the SVG and commit the PNGs: the build only copies them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" solvena.svg --output "solvena-$size.png"
done
