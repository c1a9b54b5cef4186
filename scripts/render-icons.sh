#!/usr/bin/env bash
# Renders every tool bar icon (resources/icons/*/N.svg) as N.png (16 pixels) and N@2x.png
# (32 pixels) beside it, with the Linux build's icon engine: the icons a Qt without its SVG
# module shows (the Windows zip's). Run after changing an SVG and commit the PNGs; the
# tests compare them with the SVGs as the Linux tool bar draws them.
# BUILD_DIR picks the Linux build folder (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
[[ -f $build_dir/CMakeCache.txt ]] ||
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target icon-png-gen >/dev/null
QT_QPA_PLATFORM=offscreen "$build_dir/tools/icon-png/icon-png-gen" "$root"/resources/icons/*/*.svg
echo "rendered $(ls "$root"/resources/icons/*/*.svg | wc -l) icons into resources/icons"
