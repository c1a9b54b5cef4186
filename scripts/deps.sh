#!/usr/bin/env bash
# The one list of Debian 12 packages that building, testing and running the editor need,
# and the logic that installs whatever of it is missing.
#
#   scripts/deps.sh                 install what is missing (as root), or print the apt-get line (otherwise)
#   scripts/deps.sh --list [GROUP]  print the list, one package a line; GROUP is build, runtime or tests
#   scripts/deps.sh --check         exit 0 if everything is installed, 1 otherwise; change nothing
#
# The runtime group is what the installed program needs besides the shared libraries it links:
# the Debian package depends on exactly these (packaging/CMakeLists.txt reads them from here).
set -euo pipefail

build_packages=(
    # compilers and build tools
    g++
    cmake
    ninja-build
    # Qt 6 (Widgets, Svg, Test); Qt6Gui's CMake package needs the GL and Vulkan headers
    qt6-base-dev
    qt6-svg-dev
    # the message catalogue: Qt6LinguistTools' CMake package and lrelease/lupdate
    qt6-tools-dev
    qt6-l10n-tools
    libgl-dev
    libvulkan-dev
)

runtime_packages=(
    # Qt at run time: the platform plugins (xcb and offscreen ship in libqt6gui6, the rest here),
    # the SVG icon engine and image plugin (libqt6svg6), the Japanese translations of Qt's dialogs
    qt6-qpa-plugins
    libqt6svg6
    qt6-translations-l10n
    # fonts: IPAGothic / IPAPGothic stand in for the MS Gothic faces; DejaVu is fontconfig's fallback
    fonts-ipafont-gothic
    fonts-dejavu-core
)

test_packages=(
    # tests and benchmarks
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    # an independent reader that renders our .emf files, so the metafile tests check more than our own parser
    inkscape
    # pdftoppm rasterises the printout (printed into a PDF file) so the print test sees its lines
    poppler-utils
    # GNU time: bench/render-cli.sh reads each run's peak memory from it
    time
    # Icarus Verilog: the VCD tests compile and simulate a testbench and read the dump it writes
    iverilog
    # the Windows check (scripts/test-windows-core.sh): the MinGW-w64 cross compiler, the
    # GoogleTest sources it builds GoogleTest from, and Wine to run the tests it builds
    g++-mingw-w64-x86-64-posix
    googletest
    wine64
    # scripts/build-windows.sh (not run by test.sh) packs the Windows zip, its smoke test unpacks it
    zip
    unzip
    # the libFuzzer targets are built with clang
    clang
    libclang-rt-14-dev
    # the end-to-end harness: a virtual X server, real input, screenshots, the clipboard
    xvfb
    xauth
    xdotool
    imagemagick
    xclip
    x11-utils
    # the install check (tests/install): validators of the .desktop file, the AppStream metainfo
    # and the MIME package, the MIME database, and xdg-mime with the lookup it uses outside a desktop
    desktop-file-utils
    appstream
    libxml2-utils
    shared-mime-info
    xdg-utils
    libfile-mimeinfo-perl
    # the package check: cpack's DEB generator runs dpkg-shlibdeps; lintian judges the .deb;
    # scripts/check-deb-chroot.sh installs it into a bare Debian made by debootstrap
    dpkg-dev
    lintian
    debootstrap
)

packages=("${build_packages[@]}" "${runtime_packages[@]}" "${test_packages[@]}")

missing_packages() {
    local p status
    for p in "${packages[@]}"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
        [[ $status == installed ]] || printf '%s\n' "$p"
    done
}

case "${1:-}" in
    --list)
        case "${2:-}" in
            "") printf '%s\n' "${packages[@]}" ;;
            build) printf '%s\n' "${build_packages[@]}" ;;
            runtime) printf '%s\n' "${runtime_packages[@]}" ;;
            tests) printf '%s\n' "${test_packages[@]}" ;;
            *)
                echo "usage: $0 --list [build|runtime|tests]" >&2
                exit 2
                ;;
        esac
        exit 0
        ;;
    --check)
        [[ -z $(missing_packages) ]]
        exit
        ;;
    "") ;;
    *)
        echo "usage: $0 [--list [GROUP]|--check]" >&2
        exit 2
        ;;
esac

mapfile -t missing < <(missing_packages)
if ((${#missing[@]} == 0)); then
    exit 0
fi

if ((EUID != 0)); then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "Installing missing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A stale or unreachable extra source should not stop the install from the main archive.
apt-get update || echo "warning: apt-get update reported errors; trying the install anyway" >&2
apt-get install -y --no-install-recommends "${missing[@]}"

mapfile -t still_missing < <(missing_packages)
if ((${#still_missing[@]} != 0)); then
    echo "error: still missing after apt-get install: ${still_missing[*]}" >&2
    exit 1
fi
