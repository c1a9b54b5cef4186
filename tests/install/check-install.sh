#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks the tree as a desktop would
# see it: exactly the expected files, the .desktop file, AppStream metainfo and MIME package
# valid and naming each other, the chart type found by xdg-mime, icon sizes, the versions, and
# the installed programs run from there without a display.
#
#   check-install.sh BUILD_DIR VERSION APP_ID WITH_RENDER CHART
#
# WITH_RENDER is 1 when the build has solvena-render, 0 otherwise; CHART is a chart to render.
set -euo pipefail

if (($# != 5)); then
    echo "usage: $0 BUILD_DIR VERSION APP_ID WITH_RENDER CHART" >&2
    exit 2
fi
build=$1 version=$2 id=$3 with_render=$4 chart=$5

failures=0
pass() { echo "ok:   $1"; }
fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}
# check WHAT COMMAND...: runs COMMAND, its output shown only when it fails.
check() {
    local what=$1 out
    shift
    if out=$("$@" 2>&1); then
        pass "$what"
    else
        fail "$what"
        printf '%s\n' "$out" | sed 's/^/      /' >&2
    fi
}

work=$(mktemp -d "${TMPDIR:-/tmp}/solvena-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
share=$usr/share

# Nothing more and nothing less than what the program needs at run time.
expected=(
    "bin/solvena"
    "share/applications/$id.desktop"
    "share/doc/solvena/changelog.gz"
    "share/doc/solvena/copyright"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/man/man1/solvena.1.gz"
    "share/metainfo/$id.metainfo.xml"
    "share/mime/packages/$id.xml"
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
if ((with_render)); then
    expected+=("bin/solvena-render" "share/man/man1/solvena-render.1.gz")
fi
check "installed files are exactly the expected ones" \
    diff <(printf '%s\n' "${expected[@]}" | sort) \
         <(cd "$dest" && find . ! -type d | sed 's|^\./usr/||; s|^\./|outside /usr: |' | sort)

desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
mimepkg=$share/mime/packages/$id.xml

check "desktop-file-validate $id.desktop" desktop-file-validate "$desktop"
check "appstreamcli validate $id.metainfo.xml" appstreamcli validate --no-net "$metainfo"
check "appstreamcli validate-tree (metainfo, desktop file and icon together)" \
    appstreamcli validate-tree --no-net "$dest"
# The schema of MIME packages is the DTD inside shared-mime-info's own package file.
sed -n '/<!DOCTYPE mime-info \[/,/^\]>/p' /usr/share/mime/packages/freedesktop.org.xml |
    sed '1d;$d' >"$work/mime-info.dtd"
check "xmllint: MIME package valid against shared-mime-info's DTD" \
    xmllint --noout --dtdvalid "$work/mime-info.dtd" "$mimepkg"

# The three files must name each other and what is installed.
desktop_key() { sed -n "s/^$1=//p" "$desktop"; }
exec_program=$(desktop_key Exec | cut -d' ' -f1)
check "Exec= names an installed program ($exec_program)" test -x "$usr/bin/$exec_program"
check "Exec= passes the file as %f" grep -qx 'Exec=[^ ]* %f' "$desktop"
check "Icon= names the installed icon" test "$(desktop_key Icon)" = "$id"
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mimepkg")
check "MimeType= is the type the MIME package defines ($mime_type)" \
    test "$(desktop_key MimeType)" = "$mime_type;"
check "metainfo launches the installed desktop file" \
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "metainfo release is the project version" grep -q "<release version=\"$version\"" "$metainfo"

# The chart type as a desktop looks it up: a database from shared-mime-info's types and ours,
# queried through xdg-mime outside any desktop environment (File::MimeInfo's mimetype).
mkdir -p "$work/xdg/mime/packages" "$work/home" "$work/files"
cp /usr/share/mime/packages/freedesktop.org.xml "$mimepkg" "$work/xdg/mime/packages/"
XDG_DATA_DIRS=$work/xdg update-mime-database "$work/xdg/mime"
printf 'x\r\n' >"$work/files/x.sbn"
printf 'x\r\n' >"$work/files/x.txt"
query() {
    env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/xdg" \
        xdg-mime query filetype "$1"
}
check "xdg-mime: x.sbn is $mime_type" test "$(query "$work/files/x.sbn")" = "$mime_type"
check "xdg-mime: x.txt stays text/plain" test "$(query "$work/files/x.txt")" = text/plain

# Each icon file holds the size its folder names (PNG width and height, bytes 16..23).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*2^24+$2*2^16+$3*2^8+$4 "x" $5*2^24+$6*2^16+$7*2^8+$8 }'; }
for size in 16 24 32 48 64 128 256; do
    check "icon ${size}x$size is ${size}x$size pixels" \
        test "$(png_size "$share/icons/hicolor/${size}x$size/apps/$id.png")" = "${size}x$size"
done

# The installed programs, run with no display at all.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
check "solvena --version prints the project version" \
    test "$(headless "$usr/bin/solvena" --version)" = "solvena $version"
check "solvena --help shows the chart argument" \
    grep -q '^Usage: solvena .*\[CHART\]' <<<"$(headless "$usr/bin/solvena" --help)"
check "solvena.1 carries the project version" \
    grep -q "^\\.TH SOLVENA 1 .*\"solvena $version\"" <<<"$(zcat "$share/man/man1/solvena.1.gz")"

if ((with_render)); then
    render=$usr/bin/solvena-render
    check "solvena-render --version names the project version" \
        grep -qF "$version" <<<"$(headless "$render" --version)"
    check "installed solvena-render renders a chart to PNG" \
        headless "$render" "$chart" "$work/chart.png"
    check "the PNG it wrote is a PNG" \
        test "$(od -An -tx1 -N8 "$work/chart.png" 2>/dev/null | tr -d ' ')" = 89504e470d0a1a0a
    # Every option --help lists has its entry in the manual page.
    help_text=$(headless "$render" --help || true)
    man_text=$(zcat "$share/man/man1/solvena-render.1.gz" | sed 's/\\-/-/g')
    while read -r option; do
        check "solvena-render.1 documents $option" grep -qF -- "$option" <<<"$man_text"
    done < <(grep -o -- '--[a-z][a-z-]*' <<<"$help_text" | sort -u)
else
    echo "note: this build has no solvena-render; its checks were not run"
fi

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all install checks passed"
