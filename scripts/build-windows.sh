#!/usr/bin/env bash
# Builds the editor for 64-bit Windows from Debian: Qt 6.4.2 from Debian's own sources, cross-built
# once with MinGW-w64 into a cache folder outside the tree, then solvena.exe and solvena-render.exe,
# packed into a zip with the Qt DLLs and plugins beside them, then a smoke test of that zip under Wine.
#
#   scripts/build-windows.sh            everything (Qt only when the cache does not hold it yet)
#   scripts/build-windows.sh --no-smoke the zip without the smoke test
#
# SOLVENA_WINDOWS_CACHE (default ~/.cache/solvena-windows) holds Debian's sources (src/), Qt's build
# folders (qt-build/) and the Qt built for Windows (qt-6.4.2-mingw/, complete once .solvena-built is
# there with the options it was built with). BUILD_DIR (default build/) holds windows/, the
# program's build folder, with the zip and the smoke test's files in it.
#
# Host tools (moc, rcc, uic, lrelease) are Debian's own Qt 6. Debian's sources come through
# `apt-get source`, which needs a deb-src entry for bookworm: run as root, the script adds one to
# /etc/apt/sources.list.d/ when there is none. Qt is built under `nice -n 19` with JOBS (default 2)
# jobs, with only what the editor uses.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${SOLVENA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solvena-windows}
build_root=${BUILD_DIR:-$root/build}
jobs=${JOBS:-2}
smoke=1
for arg in "$@"; do
    case $arg in
        --no-smoke) smoke=0 ;;
        *) echo "usage: $0 [--no-smoke]" >&2; exit 2 ;;
    esac
done

qt_version=6.4.2
qt_prefix=$cache/qt-$qt_version-mingw
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mkdir -p "$cache" "$build_root"
build_root=$(cd "$build_root" && pwd)
build_dir=$build_root/windows
mkdir -p "$build_dir"

step_start=$SECONDS
step() {
    echo "== windows: $1 (after $((SECONDS - step_start)) s) =="
}
fail() {
    echo "build-windows.sh: $*" >&2
    exit 1
}

for tool in x86_64-w64-mingw32-g++-posix cmake ninja dpkg-source perl zip; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/deps.sh"
done
[[ -x /usr/lib/qt6/libexec/moc && -x /usr/lib/qt6/bin/lrelease ]] ||
    fail "Debian's Qt 6 host tools are missing; run scripts/deps.sh"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# --- Debian's sources ----------------------------------------------------------------------------

have_deb_src() {
    apt-get indextargets --format '$(CREATED_BY) $(CODENAME)' 2>/dev/null |
        grep -q '^Sources bookworm$'
}

# Unpacks Debian's source package $1 (patches applied) into src/$2, once.
fetch_source() {
    local package=$1 folder=$2
    [[ -d $cache/src/$folder ]] && return 0
    if ! have_deb_src; then
        ((EUID == 0)) || fail "apt has no deb-src entry for bookworm; as root, add one (see this script) and run apt-get update"
        echo "adding a deb-src entry for bookworm (/etc/apt/sources.list.d/debian-src.sources)"
        cat >/etc/apt/sources.list.d/debian-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
        apt-get update >/dev/null || echo "warning: apt-get update reported errors" >&2
    fi
    mkdir -p "$cache/src/download"
    (cd "$cache/src/download" && apt-get source --download-only "$package") ||
        return 1
    local dsc
    dsc=$(ls "$cache/src/download/${package}_"*.dsc | tail -n 1)
    rm -rf "$cache/src/$folder.partial"
    dpkg-source --no-check -x "$dsc" "$cache/src/$folder.partial" >/dev/null
    mv "$cache/src/$folder.partial" "$cache/src/$folder"
}

# --- Qt for Windows ------------------------------------------------------------------------------

# Only the modules and features the editor uses: Core, Gui (PNG, the Windows platform with its
# fonts), Widgets, PrintSupport. No network, SQL, D-Bus, OpenGL, Vulkan, test library, tools,
# examples, tests or documentation. Every third-party library comes from Qt's own copy.
qt_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
    # Debian's sources leave out the tablet header the Windows platform would need for tablets.
    -DFEATURE_tabletevent=OFF
    # No OpenGL at all, not even the one chosen at run time.
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
qt_stamp_text="qt $qt_version ${qt_options[*]}"

build_qt() {
    if [[ -f $qt_prefix/.solvena-built && $(<"$qt_prefix/.solvena-built") == "$qt_stamp_text" ]]; then
        echo "Qt $qt_version for Windows is in $qt_prefix"
        return 0
    fi
    step "Debian's Qt sources"
    fetch_source qt6-base qtbase || fail "could not fetch Debian's source package qt6-base"

    step "Qt $qt_version for Windows (qtbase)"
    local qt_start=$SECONDS
    rm -rf "$qt_prefix" "$cache/qt-build/qtbase"
    mkdir -p "$cache/qt-build"
    nice -n 19 cmake -S "$cache/src/qtbase" -B "$cache/qt-build/qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${qt_options[@]}" >"$cache/qt-build/qtbase.configure.log" 2>&1 ||
        { tail -n 40 "$cache/qt-build/qtbase.configure.log" >&2; fail "Qt's configure failed (log: $cache/qt-build/qtbase.configure.log)"; }
    nice -n 19 cmake --build "$cache/qt-build/qtbase" -j "$jobs"
    cmake --install "$cache/qt-build/qtbase" >/dev/null
    echo "$qt_stamp_text" >"$qt_prefix/.solvena-built"
    echo "Qt built in $((SECONDS - qt_start)) s"
}

# Qt's SVG module, from Debian's qt6-svg, when the archive serves its sources: the tool bar's
# icons are drawn by its image plugin. Without it the program is built all the same (the
# buttons show the PNG renderings of their SVGs in resources/icons; the program writes SVG pictures
# itself) and the script says so.
build_qt_svg() {
    [[ -f $qt_prefix/.solvena-svg-built ]] && return 0
    step "Debian's Qt SVG sources"
    if ! fetch_source qt6-svg qtsvg; then
        echo "warning: Debian's source package qt6-svg cannot be fetched: the program is built without Qt's SVG module" >&2
        return 0
    fi
    step "Qt $qt_version for Windows (qtsvg)"
    local svg_start=$SECONDS
    rm -rf "$cache/qt-build/qtsvg"
    nice -n 19 cmake -S "$cache/src/qtsvg" -B "$cache/qt-build/qtsvg" -G Ninja "${launcher[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        >"$cache/qt-build/qtsvg.configure.log" 2>&1 ||
        { tail -n 40 "$cache/qt-build/qtsvg.configure.log" >&2; fail "qtsvg's configure failed"; }
    nice -n 19 cmake --build "$cache/qt-build/qtsvg" -j "$jobs"
    cmake --install "$cache/qt-build/qtsvg" >/dev/null
    touch "$qt_prefix/.solvena-svg-built"
    echo "qtsvg built in $((SECONDS - svg_start)) s"
}

# --- the program ---------------------------------------------------------------------------------

build_program() {
    step "solvena.exe and solvena-render.exe"
    local program_start=$SECONDS
    cmake -S "$root" -B "$build_dir/program" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DSOLVENA_WINE_PREFIX="$build_dir/wine-prefix" \
        -DSOLVENA_BUILD_TESTS=OFF -DSOLVENA_BUILD_BENCHMARKS=OFF >"$build_dir/program.configure.log" 2>&1 ||
        { tail -n 40 "$build_dir/program.configure.log" >&2; fail "the program's configure failed"; }
    cmake --build "$build_dir/program" -j "$jobs" --target solvena solvena-render
    echo "program built in $((SECONDS - program_start)) s"
}

# --- the zip -------------------------------------------------------------------------------------

mingw_dll_dirs=()
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    path=$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)
    [[ $path == /* ]] && mingw_dll_dirs+=("$(dirname "$(realpath "$path")")")
done

# The DLLs a Windows program or DLL imports that come from Qt or MinGW (the system's own are
# on every Windows), and theirs in turn, as windeployqt finds them.
deployed_dlls() {
    local -A seen=()
    local queue=("$@") file name dir
    while ((${#queue[@]} > 0)); do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        while read -r name; do
            [[ -n ${seen[$name]:-} ]] && continue
            for dir in "$qt_prefix/bin" "${mingw_dll_dirs[@]}"; do
                if [[ -f $dir/$name ]]; then
                    seen[$name]=$dir/$name
                    queue+=("$dir/$name")
                    break
                fi
            done
        done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done
    printf '%s\n' "${seen[@]}"
}

pack_zip() {
    step "the zip"
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/program/CMakeCache.txt")
    local name=solvena-$version-windows-x86_64
    local stage=$build_dir/$name
    rm -rf "$stage" "$build_dir/$name.zip"
    mkdir -p "$stage/translations"
    cp "$build_dir/program/solvena.exe" "$build_dir/program/tools/solvena-render/solvena-render.exe" "$stage/"
    # The plugins the program loads: the Windows platform, the minimal one solvena-render
    # draws on, the native widget style, and the SVG icons where Qt has them.
    local plugins=(platforms/qwindows.dll platforms/qminimal.dll styles/qwindowsvistastyle.dll)
    local plugin
    for plugin in iconengines/qsvgicon.dll imageformats/qsvg.dll imageformats/qico.dll imageformats/qgif.dll; do
        [[ -f $qt_prefix/plugins/$plugin ]] && plugins+=("$plugin")
    done
    for plugin in "${plugins[@]}"; do
        [[ -f $qt_prefix/plugins/$plugin ]] || fail "Qt for Windows has no plugin $plugin"
        mkdir -p "$stage/$(dirname "$plugin")"
        cp "$qt_prefix/plugins/$plugin" "$stage/$plugin"
    done
    local dll
    while read -r dll; do
        cp "$dll" "$stage/"
    done < <(deployed_dlls "$stage"/*.exe "${plugins[@]/#/$stage/}")
    # Qt's own Japanese texts (the standard dialogs' buttons), from Debian's build of the
    # Qt translations: the catalogue is the same file on every system.
    cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/" ||
        fail "Qt's Japanese translations are missing (Debian package qt6-translations-l10n)"
    x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
    (cd "$build_dir" && zip -qr9 "$name.zip" "$name")
    zip_path=$build_dir/$name.zip
    echo "$zip_path: $(stat -c %s "$zip_path") bytes"
}

build_qt
build_qt_svg
build_program
pack_zip
if ((smoke)); then
    step "smoke test under Wine"
    smoke_start=$SECONDS
    "$root/scripts/smoke-windows.sh" "$zip_path" "$build_dir/smoke"
    echo "smoke test passed in $((SECONDS - smoke_start)) s"
fi
step "done"
