#!/usr/bin/env bash
# Times solvena-render on a busy 99 x 99 chart (every level, delays, arrows, labels,
# names, timing lines) to each picture format: the median wall time of RUNS runs and
# the largest peak memory (maximum resident set size, from GNU time).
#
#   bench/render-cli.sh [SOLVENA_RENDER] [RUNS]
#
# Needs /usr/bin/time (Debian package "time"). Run it on a quiet machine.
set -euo pipefail

render=${1:-build/tools/solvena-render/solvena-render}
runs=${2:-15}
[[ -x $render ]] || { echo "no solvena-render at $render (build the target first)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/render-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The chart file: widths and timing lines of columns 0..99, then per signal its name
# and 99 triples of level, delay and flags.
awk 'BEGIN {
    printf "80 0"
    for (c = 1; c <= 99; c++) printf " 15 %d", (c % 10 == 1)
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

printf '%-5s %10s %10s %12s\n' format "median ms" "peak MiB" "output KiB"
for format in svg png bmp emf pdf; do
    out=$work/chart.$format
    times=() peak=0
    for ((i = 0; i < runs; i++)); do
        # GNU time gives the peak memory; its wall time has only hundredths of a second,
        # so a second run is timed with the clock in nanoseconds.
        /usr/bin/time -f '%M' -o "$work/time" "$render" "$work/chart.sbn" "$out" 2>/dev/null
        kib=$(<"$work/time")
        ((kib > peak)) && peak=$kib
        start=$(date +%s%N)
        "$render" "$work/chart.sbn" "$out" 2>/dev/null
        times+=($((($(date +%s%N) - start) / 1000000)))
    done
    median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
    printf '%-5s %10s %10s %12d\n' "$format" "$median" "$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')" \
        $(($(stat -c %s "$out") / 1024))
done
