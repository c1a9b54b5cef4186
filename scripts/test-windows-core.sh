#!/usr/bin/env bash
# Cross-builds the Qt-free core (document, text, editing, the render and storage core files)
# and its GoogleTest suites for 64-bit Windows with Debian's MinGW-w64, and runs them under
# Debian's wine64 through CTest. No display is needed.
#
# Everything goes into WINDOWS_BUILD_DIR (default: windows-core/ in the build folder, which
# BUILD_DIR names as for test.sh):
#   googletest/, googletest-install/   GoogleTest from Debian's sources (/usr/src/googletest),
#                                      built once with the same cross compiler
#   core/                              the core library and its tests
#   wine-prefix/                       the Wine prefix the tests run in, made on first use
# Extra arguments go to ctest (for instance -R text_ to run some suites only).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${WINDOWS_BUILD_DIR:-${BUILD_DIR:-$root/build}/windows-core}
mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
googletest_source=${GOOGLETEST_SOURCE:-/usr/src/googletest}
wine_prefix=$build_dir/wine-prefix

for tool in x86_64-w64-mingw32-g++-posix cmake ninja; do
    command -v "$tool" >/dev/null || { echo "test-windows-core.sh: $tool is missing; run scripts/deps.sh" >&2; exit 1; }
done
[[ -f $googletest_source/CMakeLists.txt ]] ||
    { echo "test-windows-core.sh: no GoogleTest sources in $googletest_source; run scripts/deps.sh" >&2; exit 1; }

configure_options=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if command -v ccache >/dev/null; then
    configure_options+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

step_start=$SECONDS
step() {
    echo "== windows core: $1 (after $((SECONDS - step_start)) s) =="
}

wine_run=("$root/scripts/wine-run.sh" --prefix "$wine_prefix")
# Whatever happens, no Wine process of this prefix outlives the script.
trap '"${wine_run[@]}" --stop' EXIT

step "GoogleTest"
cmake -S "$googletest_source" -B "$build_dir/googletest" "${configure_options[@]}" \
    -DCMAKE_INSTALL_PREFIX="$build_dir/googletest-install" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
cmake --build "$build_dir/googletest"
cmake --install "$build_dir/googletest" >/dev/null

step "Wine prefix"
"${wine_run[@]}" --prepare

step "core library and tests"
cmake -S "$root" -B "$build_dir/core" "${configure_options[@]}" \
    -DCMAKE_PREFIX_PATH="$build_dir/googletest-install" -DSOLVENA_WINE_PREFIX="$wine_prefix" \
    -DSOLVENA_CORE_ONLY=ON -DSOLVENA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir/core"

step "tests under Wine"
status=0
ctest --test-dir "$build_dir/core" --output-on-failure -j2 --timeout 300 "$@" || status=$?
step "done"
exit "$status"
