#!/usr/bin/env bash
# The WaveJSON the editor writes, read by the reference renderer of the format (the npm package
# wavedrom-cli): it must accept the file and draw the same levels as the chart holds. Then the
# other way: each WAVEJSON given, and random diagrams, are opened as charts, and each chart
# must hold the levels wavedrom-cli draws for it. The pictures are left side by side in the artifacts folder for a
# person to compare.
#
#   wavedrom.sh SOLVENA_RENDER CHART ARTIFACTS_DIR NPM_CACHE_DIR [WAVEJSON]...
#
# Exits 77 (skipped) when Node.js is not installed.
set -euo pipefail
render=$1 chart=$2 artifacts=$3 npm_dir=$4
shift 4
here=$(dirname "$0")

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "SKIPPED: Node.js (node and npm) is not installed; the WaveJSON check against wavedrom-cli needs it"
    exit 77
fi
rm -rf "$artifacts"
mkdir -p "$artifacts" "$npm_dir"
if [[ ! -x $npm_dir/node_modules/.bin/wavedrom-cli ]]; then
    npm install --prefix "$npm_dir" --no-audit --no-fund --loglevel=error wavedrom-cli@3.2.0
fi
wavedrom=$npm_dir/node_modules/.bin/wavedrom-cli

"$render" "$chart" "$artifacts/chart.json"
"$render" "$chart" "$artifacts/solvena.png"
"$wavedrom" -i "$artifacts/chart.json" -s "$artifacts/wavedrom.svg"
"$wavedrom" -i "$artifacts/chart.json" -p "$artifacts/wavedrom.png"
convert "$artifacts/solvena.png" "$artifacts/wavedrom.png" -background white -gravity north \
    +append "$artifacts/side-by-side.png"

# The levels the chart holds, a line per signal: 0, 1 or x per step (every third number of a
# data line, which follows each name line).
expected=$(tr -d '\r' <"$chart" | awk 'NR > 1 && NR % 2 == 1 {
    line = ""
    for (i = 1; i <= NF; i += 3) line = line ($i == 0 ? "0" : $i == 1 ? "1" : "x")
    print line }')

# The levels wavedrom-cli drew: each lane is a row of bricks, two per step, named after the
# levels they join ("0m1" rises from 0 to 1); a step's level is where its second brick ends.
drawn=$(grep -o -E 'id="wavelane_draw_[0-9]+_0"|xlink:href="#[^"]+"' "$artifacts/wavedrom.svg" |
    awk '/wavelane_draw/ { if (started) print line; line = ""; n = 0; started = 1; next }
         { brick = $0; sub(/.*#/, "", brick); sub(/"$/, "", brick)
           if (++n % 2 == 0) line = line substr(brick, length(brick), 1) }
         END { if (started) print line }')

echo "levels in the chart:"
printf '  %s\n' $expected
echo "levels wavedrom-cli drew:"
printf '  %s\n' $drawn
if [[ $expected != "$drawn" ]]; then
    echo "FAIL: wavedrom-cli draws other levels than the chart holds (pictures in $artifacts)" >&2
    exit 1
fi
echo "OK: wavedrom-cli accepts the file and draws the chart's levels; side-by-side.png in $artifacts"

for json in "$@"; do
    name=$(basename "$json" .json)
    "$render" "$json" "$artifacts/$name.sbn"
    "$render" "$json" "$artifacts/$name-solvena.png"
    "$wavedrom" -i "$json" -s "$artifacts/$name-wavedrom.svg"
    "$wavedrom" -i "$json" -p "$artifacts/$name-wavedrom.png"
    convert "$artifacts/$name-solvena.png" "$artifacts/$name-wavedrom.png" -background white \
        -gravity north -append "$artifacts/$name-side-by-side.png"
    echo "$name.json opened as a chart, against what wavedrom-cli drew:"
    if ! node "$here/drawn-levels.js" "$artifacts/$name-wavedrom.svg" "$artifacts/$name.sbn"; then
        echo "FAIL: the chart opened from $name.json holds other levels than wavedrom-cli draws" >&2
        exit 1
    fi
done
[[ $# -eq 0 ]] || echo "OK: the charts opened from WaveJSON hold the levels wavedrom-cli draws"

# Random diagrams (a fixed seed) in every corner of the wave syntax, the same way.
mkdir -p "$artifacts/random"
node "$here/random-diagrams.js" "$npm_dir" "$render" "$artifacts/random" 150 20240611
