#!/usr/bin/env bash
# Times solvena-render on COUNT busy 99 x 99 charts (every level, delays, arrows,
# labels, names, timing lines; each chart a little different) per format: all of them
# in one run (--out-dir) against one run per chart. Medians of RUNS, wall time in ms.
#
#   bench/batch-cli.sh [SOLVENA_RENDER] [RUNS] [COUNT] [FORMATS]
#
# Run it on a quiet machine.
set -euo pipefail

render=${1:-build/tools/solvena-render/solvena-render}
runs=${2:-5}
count=${3:-100}
formats=${4:-svg png}
[[ -x $render ]] || { echo "no solvena-render at $render (build the target first)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/batch-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/charts" "$work/out"

# The charts of bench/render-cli.sh, the pattern shifted by the chart's number.
for ((n = 0; n < count; n++)); do
    awk -v n="$n" 'BEGIN {
        printf "80 0"
        for (c = 1; c <= 99; c++) printf " 15 %d", ((c + n) % 10 == 1)
        for (r = 1; r <= 99; r++) {
            printf "\r\nSIG%d\r\n", r
            for (c = 1; c <= 99; c++) {
                k = c * 7 + r * 3 + n
                level = (int(k / 3) % 5 == 4) ? 2 : int(k / 2) % 2
                delay = (k % 11 == 0) ? (k % 7) - 3 : 0
                flags = (k % 5 == 0 ? 4 : 0) + (k % 13 == 0 ? 1 : 0) + (k % 17 == 0 ? 2 : 0)
                printf "%s%d %d %d", (c > 1 ? " " : ""), level, delay, flags
            }
        }
    }' >"$work/charts/chart$n.sbn"
done

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
now() { date +%s%N; }

printf '%-5s %8s %16s %18s\n' format charts "one run (ms)" "a run each (ms)"
for format in $formats; do
    batch=() separate=()
    for ((i = 0; i < runs; i++)); do
        rm -f "$work/out"/*
        start=$(now)
        "$render" --out-dir "$work/out" --format "$format" "$work"/charts/*.sbn
        batch+=($((($(now) - start) / 1000000)))
        rm -f "$work/out"/*
        start=$(now)
        for chart in "$work"/charts/*.sbn; do
            name=${chart##*/}
            "$render" "$chart" "$work/out/${name%.sbn}.$format"
        done
        separate+=($((($(now) - start) / 1000000)))
    done
    printf '%-5s %8d %16s %18s\n' "$format" "$count" "$(printf '%s\n' "${batch[@]}" | median)" \
        "$(printf '%s\n' "${separate[@]}" | median)"
done
