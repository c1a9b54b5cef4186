#!/usr/bin/env bash
# Builds the Debian package from a build tree with cpack into a temporary folder and has lintian
# judge it: any error fails; warnings are printed (README.md lists the ones kept and why).
#
#   check-package.sh BUILD_DIR
set -euo pipefail

if (($# != 1)); then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build=$(realpath "$1")

work=$(mktemp -d "${TMPDIR:-/tmp}/solvena-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
deb=$(echo "$work"/solvena_*.deb)
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Depends Installed-Size

status=0
lintian --fail-on error "$deb" || status=$?
if ((status != 0)); then
    echo "FAIL: lintian found errors (exit $status)" >&2
    exit 1
fi
echo "lintian: no errors"
