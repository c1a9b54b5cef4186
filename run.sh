#!/usr/bin/env bash
# Build the editor and start it; arguments go to the program (e.g. a chart file to open).
# Installs missing Debian packages first when run as root (otherwise prints the apt-get line).
# BUILD_DIR picks the build folder (default: build/ beside this script).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target solvena

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "note: no DISPLAY is set; start the editor from a desktop session (or under xvfb-run)" >&2
fi
exec "$build_dir/solvena" "$@"
