#!/usr/bin/env bash
# The smoke test of the Windows zip that scripts/build-windows.sh packs, under Debian's Wine:
#
#   scripts/smoke-windows.sh ZIP [WORK_DIR]
#
# 1. solvena-render.exe, run from the unpacked zip, rewrites every chart of tests/data/charts as
#    .sbn and as .json byte for byte as this machine's Linux build does, and writes each as an
#    .emf that the tests' metafile reader accepts and finds drawing what the Linux build's draws
#    (tests/pictures/EmfCheck.cpp), and as a .pdf that poppler reads without a complaint at the
#    Linux build's page size; written to standard output, a chart and a metafile are the same
#    bytes as in a file; a chart with a Japanese name is read and written under that name.
# 2. solvena.exe starts in a private Xvfb with a chart named in Japanese on its command line,
#    shows its main window captioned ソルベナエディタ - <the chart> with the tool bar's icons,
#    and ends with status 0 on Alt+F, X.
#
# The Linux build is the one in BUILD_DIR (default build/; configured here if it is not yet),
# of which solvena-render and emf-check are built. WORK_DIR (default: smoke/ beside the zip)
# is emptied first and keeps the outputs, a screenshot of the window and the programs' output;
# the Wine prefix lives in it too.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
(($# >= 1 && $# <= 2)) || { echo "usage: $0 ZIP [WORK_DIR]" >&2; exit 2; }
zip=$(realpath "$1")
work=${2:-$(dirname "$zip")/smoke}
build_root=${BUILD_DIR:-$root/build}
timeout_s=${SMOKE_TIMEOUT:-60}

fail() {
    echo "smoke-windows.sh: FAIL: $*" >&2
    exit 1
}
for tool in unzip Xvfb xdotool xdpyinfo import convert cmp pdfinfo; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/deps.sh"
done

rm -rf "$work"
mkdir -p "$work/render"
work=$(cd "$work" && pwd)
unzip -q "$zip" -d "$work/unpacked"
app_dir=$(find "$work/unpacked" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[[ -f $app_dir/solvena.exe && -f $app_dir/solvena-render.exe ]] || fail "the zip holds no solvena.exe and solvena-render.exe"

wine_prefix=$work/wine-prefix
wine_run=("$root/scripts/wine-run.sh" --prefix "$wine_prefix")
xvfb_pid=
cleanup() {
    "${wine_run[@]}" --stop
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT

echo "-- the Linux build's solvena-render and emf-check ($build_root)"
[[ -f $build_root/CMakeCache.txt ]] ||
    cmake -S "$root" -B "$build_root" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_root" --target solvena-render emf-check >/dev/null
linux_render=$build_root/tools/solvena-render/solvena-render
emf_check=$build_root/tests/pictures/emf-check

"${wine_run[@]}" --prepare

# --- 1. solvena-render.exe -----------------------------------------------------------------------

cd "$work/render"
failures=0
charts=("$root"/tests/data/charts/*.sbn)
((${#charts[@]} > 0)) || fail "no charts in tests/data/charts"
for chart in "${charts[@]}"; do
    name=$(basename "$chart" .sbn)
    cp "$chart" "$name.sbn"
    for kind in sbn json emf pdf; do
        # Relative names: the Windows program sees them in its working folder, Z:\ on Wine.
        if ! "${wine_run[@]}" "$app_dir/solvena-render.exe" "$name.sbn" "$name-windows.$kind" \
            >>render.log 2>&1 </dev/null; then
            echo "solvena-render.exe could not write $name.$kind (see $work/render/render.log)" >&2
            failures=$((failures + 1))
            continue
        fi
        QT_QPA_PLATFORM=offscreen "$linux_render" "$name.sbn" "$name-linux.$kind" >>render.log 2>&1 ||
            fail "the Linux solvena-render could not write $name.$kind"
        if [[ $kind == emf ]]; then
            if SOLVENA_EMF_CHECK=$name-windows.emf SOLVENA_EMF_REFERENCE=$name-linux.emf \
                "$emf_check" >"$name-emf-check.log" 2>&1; then
                echo "ok    $name.emf: accepted, draws what the Linux build's draws"
            else
                echo "FAIL  $name.emf (see $work/render/$name-emf-check.log)" >&2
                failures=$((failures + 1))
            fi
        elif [[ $kind == pdf ]]; then
            # The faces differ from Linux's, so the bytes do: poppler must read the page
            # without a complaint, at the Linux build's size.
            if pdfinfo "$name-windows.pdf" >"$name-pdfinfo.log" 2>&1 && ! grep -qi error "$name-pdfinfo.log" &&
                [[ $(grep '^Page size' "$name-pdfinfo.log") == $(pdfinfo "$name-linux.pdf" | grep '^Page size') ]]; then
                echo "ok    $name.pdf: read without a complaint, its page the Linux build's size"
            else
                echo "FAIL  $name.pdf (see $work/render/$name-pdfinfo.log)" >&2
                failures=$((failures + 1))
            fi
        elif cmp -s "$name-windows.$kind" "$name-linux.$kind"; then
            echo "ok    $name.$kind: the same $(stat -c %s "$name-linux.$kind") bytes as the Linux build's"
        else
            echo "FAIL  $name.$kind differs from the Linux build's" >&2
            failures=$((failures + 1))
        fi
    done
done
# Standard output carries the same bytes as a file: no LF becomes CR LF on the way.
for kind in sbn emf; do
    if "${wine_run[@]}" "$app_dir/solvena-render.exe" --format "$kind" example.sbn - \
        >"stdout-windows.$kind" 2>>render.log </dev/null &&
        cmp -s "stdout-windows.$kind" "example-windows.$kind"; then
        echo "ok    example.$kind written to standard output: the same bytes as to a file"
    else
        echo "FAIL  example.$kind written to standard output differs from the file" >&2
        failures=$((failures + 1))
    fi
done
# A Japanese name, given on the command line and written through the wide-character file
# functions whatever Wine's code page holds.
cp example.sbn "タイミング図.sbn"
if "${wine_run[@]}" "$app_dir/solvena-render.exe" "タイミング図.sbn" "タイミング図-windows.sbn" \
    >>render.log 2>&1 </dev/null && cmp -s "タイミング図-windows.sbn" "example-linux.sbn"; then
    echo "ok    タイミング図.sbn read and written under its Japanese name"
else
    echo "FAIL  タイミング図.sbn could not be read or written under its Japanese name (see $work/render/render.log)" >&2
    failures=$((failures + 1))
fi
((failures == 0)) || fail "$failures of solvena-render.exe's outputs are wrong"

# --- 2. solvena.exe in a window ------------------------------------------------------------------

echo "-- solvena.exe under Xvfb"
: >"$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 3>"$work/displayfd" &
xvfb_pid=$!
deadline=$((SECONDS + 20))
until [[ $(<"$work/displayfd") =~ ^[0-9]+$ ]]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start (see $work/xvfb.log)"
    ((SECONDS < deadline)) || fail "Xvfb reported no display"
    sleep 0.1
done
export DISPLAY=:$(<"$work/displayfd")
# Wine's desktop was started by the runs above without a display, and its windows would
# go there: a new Wine session starts with this display.
"${wine_run[@]}" --stop

mkdir -p "$work/gui"
# A name outside Wine's code page: it reaches the editor only through the wide command line.
cp "$root/tests/data/charts/example.sbn" "$work/gui/タイミング図.sbn"
cd "$work/gui"
"${wine_run[@]}" "$app_dir/solvena.exe" タイミング図.sbn >app.log 2>&1 </dev/null &
app_pid=$!

# The caption names the chart once it is open: the window is up and the chart in it.
caption_pattern='^ソルベナエディタ - .*タイミング図\.sbn$'
window=
deadline=$((SECONDS + timeout_s))
while [[ -z $window ]]; do
    kill -0 "$app_pid" 2>/dev/null || fail "solvena.exe ended before showing its window (see $work/gui/app.log)"
    ((SECONDS < deadline)) || fail "no window captioned like $caption_pattern within ${timeout_s}s"
    window=$(timeout 10 xdotool search --onlyvisible --name "$caption_pattern" 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] || sleep 0.5
done
caption=$(timeout 10 xdotool getwindowname "$window")
echo "ok    window $window captioned \"$caption\""
sleep 2  # let it finish drawing before the picture is taken
timeout 20 import -silent -window root "$work/gui/window.png" || fail "no screenshot taken"
# The tool bar shows its icons (PNG renderings where Qt has no SVG module): the blue they
# share shows on screen. Without them the buttons are blank.
icon_pixels=$(convert "$work/gui/window.png" -fill black +opaque "#1A73E8" -fill white -opaque "#1A73E8" \
    -format "%[fx:round(mean*w*h)]" info:)
((icon_pixels >= 100)) || fail "the tool bar shows no icons (see $work/gui/window.png)"
echo "ok    the tool bar shows its icons ($icon_pixels pixels of their blue)"

timeout 10 xdotool windowfocus --sync "$window" || timeout 10 xdotool windowfocus "$window"
sleep 0.5
timeout 10 xdotool key --delay 200 alt+f
sleep 1
timeout 10 xdotool key x
status=0
deadline=$((SECONDS + timeout_s))
while kill -0 "$app_pid" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "solvena.exe did not end within ${timeout_s}s of Alt+F, X"
    sleep 0.2
done
wait "$app_pid" || status=$?
((status == 0)) || fail "solvena.exe ended with status $status (see $work/gui/app.log)"
echo "ok    solvena.exe ended with status 0 on Alt+F, X"
