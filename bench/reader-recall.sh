#!/usr/bin/env bash
# How Inkscape and LibreOffice Draw draw the metafiles the export writes, against the
# chart's bitmap: the line recall per chart and reader (see bench/ReaderRecall.cpp).
#
#   bench/reader-recall.sh [READER_RECALL] [KEEP_DIR]
#
# The charts: the repository's chart fixtures, and charts made here that the tests never
# see (the start grid filled in, a busy 99 x 99 chart, wide and narrow columns, random
# ones). LibreOffice is asked when soffice and Python's uno module are there (Debian:
# libreoffice-draw, python3-uno); it is not a dependency of the project.
set -euo pipefail

tool=${1:-build/bench/reader_recall}
keep=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
[[ -x $tool ]] || { echo "no reader_recall at $tool (build the target first)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/reader-recall.XXXXXX")
trap 'rm -rf "$work"' EXIT

# chart NAME COLS ROWS WIDTH SEED: COLS columns (the name column included) of WIDTH
# pixels, ROWS rows (the header row included); SEED 0 gives the start chart's pattern
# (a clock with rising arrows, data with undefined stretches, labels and delays, an
# enable with falling arrows), any other a random chart.
chart() {
    awk -v cols="$2" -v rows="$3" -v width="$4" -v seed="$5" 'BEGIN {
        srand(seed)
        printf "80 0"
        for (c = 1; c < cols; c++) printf " %d %d", width, (seed ? rand() < 0.1 : (c == 5 || c == 20))
        for (r = 1; r < rows; r++) {
            printf "\r\nS%d_%s\r\n", r, (r % 2 ? "CLK" : "DATA")
            for (c = 1; c < cols; c++) {
                if (seed) {
                    level = int(rand() * 3); delay = rand() < 0.2 ? int(rand() * 9) - 4 : 0
                    flags = (rand() < 0.3 ? 1 : 0) + (rand() < 0.3 ? 2 : 0) + (rand() < 0.3 ? 4 : 0)
                } else if (r % 4 == 1) {
                    level = c % 2; delay = 0; flags = 1
                } else if (r % 4 == 2) {
                    level = (c % 6 < 2) ? 2 : int(c / 3) % 2; delay = (c % 6 == 3) ? 3 : 0; flags = 4
                } else if (r % 4 == 3) {
                    level = int(c / 4) % 2; delay = (c % 4 == 0) ? -2 : 0; flags = 6
                } else {
                    level = int(c / 5) % 2 ? 2 : int(c / 2) % 2; delay = 0; flags = 3
                }
                printf "%s%d %d %d", (c > 1 ? " " : ""), level, delay, flags
            }
        }
    }' >"$work/$1.sbn"
}

chart start 30 5 15 0
chart start-99x99 100 100 15 0
chart wide 40 12 40 0
chart narrow 100 20 6 0
chart random-1 30 8 15 11
chart random-2 60 30 15 12
chart random-3 99 60 20 13
cp "$here"/../tests/data/charts/*.sbn "$work/"

lo=()
if command -v soffice >/dev/null && /usr/bin/python3 -c 'import uno' 2>/dev/null; then
    lo=(--libreoffice)
fi
args=("${lo[@]}")
[[ -z $keep ]] || args+=(--keep "$keep")
"$tool" "${args[@]}" "$work"/*.sbn
