#!/usr/bin/env bash
# Build everything and run every test: the CTest suite (unit, widget and end-to-end tests),
# the core's tests cross-built for Windows and run under Wine (scripts/test-windows-core.sh),
# then a bounded fuzzing run when scripts/fuzz.sh exists (FUZZ_SECONDS, default 60).
# Installs missing Debian packages first when run as root (otherwise prints the apt-get line).
# BUILD_DIR picks the build folder (default: build/ beside this script).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir"

status=0
ctest --test-dir "$build_dir" --output-on-failure -j2 || status=$?

echo "== the core on Windows (MinGW-w64, under Wine) =="
BUILD_DIR=$build_dir "$root/scripts/test-windows-core.sh" ||
    { rc=$?; echo "Windows core tests failed (exit $rc)" >&2; status=1; }

if [[ -f $root/scripts/fuzz.sh ]]; then
    export FUZZ_SECONDS=${FUZZ_SECONDS:-60}
    echo "== fuzzing (${FUZZ_SECONDS}s per target) =="
    bash "$root/scripts/fuzz.sh" || { rc=$?; echo "fuzzing failed (exit $rc)" >&2; status=1; }
fi

if ((status != 0)); then
    echo "test.sh: FAILED" >&2
fi
exit "$status"
