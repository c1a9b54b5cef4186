#!/usr/bin/env bash
# Times solvena-render on the largest picture it makes: 99 signals of 99 steps whose
# columns and rows fill the 32,767-pixel limit (the bitmap 32,767 x 32,671, the vector
# pictures 32,767 x 32,696), every level, delays, arrows, labels, names and timing
# lines in use. Per format: the median wall time and the largest peak memory (maximum
# resident set size) of RUNS runs, from GNU time, and the output's size.
#
#   bench/largest-picture.sh [SOLVENA_RENDER] [RUNS] [FORMATS]
#
# Needs /usr/bin/time (Debian package "time") and room for a 3 GB bitmap in TMPDIR.
set -euo pipefail

render=${1:-build/tools/solvena-render/solvena-render}
runs=${2:-3}
formats=${3:-png bmp emf svg pdf}
[[ -x $render ]] || { echo "no solvena-render at $render (build the target first)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/largest-picture.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Name column 91 and 99 steps of 329 pixels: 91 + 99 x 329 + 105 = 32,767 pixels wide.
awk 'BEGIN {
    printf "91 0"
    for (c = 1; c <= 99; c++) printf " 329 %d", (c % 10 == 1)
    for (r = 1; r <= 99; r++) {
        printf "\r\nSIG%d\r\n", r
        for (c = 1; c <= 99; c++) {
            k = c * 7 + r * 3
            level = (int(k / 3) % 5 == 4) ? 2 : int(k / 2) % 2
            delay = (k % 11 == 0) ? (k % 7) - 3 : 0
            flags = (k % 5 == 0 ? 4 : 0) + (k % 13 == 0 ? 1 : 0) + (k % 17 == 0 ? 2 : 0)
            printf "%s%d %d %d", (c > 1 ? " " : ""), level, delay, flags
        }
    }
}' >"$work/chart.sbn"

printf '%-5s %10s %10s %12s\n' format "median s" "peak MiB" "output MiB"
for format in $formats; do
    out=$work/chart.$format
    times=() peak=0 bytes=0
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -f '%e %M' -o "$work/time" "$render" --row-height 329 "$work/chart.sbn" "$out"
        read -r seconds kib <"$work/time"
        times+=("$seconds")
        ((kib > peak)) && peak=$kib
        bytes=$(stat -c %s "$out")
        rm -f "$out"
    done
    median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
    printf '%-5s %10s %10s %12s\n' "$format" "$median" "$(awk -v k="$peak" 'BEGIN { printf "%.0f", k / 1024 }')" \
        "$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')"
done
