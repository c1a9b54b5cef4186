#!/usr/bin/env bash
# Builds the Debian package the way a release is made: a Release build with Debian's hardening
# flags (dpkg-buildflags), without tests or benchmarks, then `cpack -G DEB`.
#
#   scripts/build-deb.sh [BUILD_DIR]      default: build-deb/ beside this folder
#
# The package lands in BUILD_DIR as solvena_<version>_<arch>.deb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-deb}

"$root/scripts/deps.sh"

# Debian's flags for packages: fortified functions, stack protector, full RELRO, bind-now.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSOLVENA_BUILD_TESTS=OFF -DSOLVENA_BUILD_BENCHMARKS=OFF -DSOLVENA_BUILD_FUZZERS=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
ls -l "$build"/solvena_*.deb
