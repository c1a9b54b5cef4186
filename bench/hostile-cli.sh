#!/usr/bin/env bash
# Times solvena-render on charts made to be expensive to draw: an edge delay far
# beyond the picture, and signal names far longer than their cell. Every run has a
# time limit and an address-space limit, so that a renderer that hangs or grows without
# bound is reported as such instead of stalling or starving the machine.
#
#   bench/hostile-cli.sh [SOLVENA_RENDER] [RUNS] [TIMEOUT_S] [MEMORY_MIB]
#
# ONLY=REGEX in the environment keeps the cases whose "chart format" matches it.
# Prints, per chart and format, the median wall time of RUNS runs, the largest peak
# memory (maximum resident set size, from GNU time) and the output's size; a run that
# fails or times out is reported once and not repeated.
set -euo pipefail

render=${1:-build/tools/solvena-render/solvena-render}
runs=${2:-5}
limit=${3:-60}
memory=${4:-4096}
[[ -x $render ]] || { echo "no solvena-render at $render (build the target first)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hostile-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The two delays of the report: an undefined cell whose own edge stands 2e9 pixels to
# the left, and one whose following edge stands 2e8 pixels to the right.
printf '80 0 15 0 15 0\r\nA\r\n2 -2000000000 0 2 0 0' >"$work/delay-left.sbn"
printf '80 0 15 0\r\nB\r\n2 0 0 0 200000000 0' >"$work/delay-right.sbn"
# Names of 20,000 and 50,000 characters and one of 10 MB (ASCII, so characters are bytes).
for n in 20000 50000 10000000; do
    { printf '80 0 15 0\r\n'; head -c "$n" </dev/zero | tr '\0' 'W'; printf '\r\n1 0 0'; } >"$work/name-$n.sbn"
done

run_case() {
    local chart=$1 format=$2
    [[ "$chart $format" =~ ${ONLY:-.} ]] || return 0
    local out=$work/out.$format times=() peak=0 status=ok
    for ((i = 0; i < runs; i++)); do
        rm -f "$out"
        local start=$(date +%s%N) rc=0
        ( ulimit -v $((memory * 1024)); exec /usr/bin/time -f '%M' -o "$work/time" \
            timeout "$limit" "$render" "$work/$chart" "$out" ) >/dev/null 2>"$work/err" || rc=$?
        times+=($((($(date +%s%N) - start) / 1000000)))
        local kib=$(tail -n 1 "$work/time" 2>/dev/null || echo 0)
        [[ $kib =~ ^[0-9]+$ ]] && ((kib > peak)) && peak=$kib
        if ((rc == 124)); then status="timeout >${limit}s"; break; fi
        if ((rc != 0)); then
            status="exit $rc: $( (grep -v '^Command' "$work/err" || true) | head -n 1 | sed 's|.*/||' | cut -c1-60)"
            break
        fi
    done
    local median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
    local size=$( [[ -f $out ]] && stat -c %s "$out" || echo 0 )
    printf '%-22s %-5s %10s %10s %12d  %s\n' "$chart" "$format" "$median" \
        "$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')" $((size / 1024)) "$status"
}

printf '%-22s %-5s %10s %10s %12s  %s\n' chart format "median ms" "peak MiB" "output KiB" status
for chart in delay-left.sbn delay-right.sbn; do
    for format in png bmp emf svg pdf; do run_case "$chart" "$format"; done
done
for n in 20000 50000 10000000; do
    for format in emf png svg; do run_case "name-$n.sbn" "$format"; done
done
