#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan), and for each one replays its
# seed corpus, then fuzzes for a bounded time. Exits non-zero on the first crash.
#
#   scripts/fuzz.sh [build-dir]      default build dir: build-fuzz beside this folder
#   FUZZ_SECONDS=N                   fuzzing time per target after the replay (default 60)
#
# Targets: fuzz_chart_reader (the chart file reader), fuzz_json5 (the WaveJSON
# import with the JSON5 reader under it), fuzz_profile (the preferences file's reader
# and writer), fuzz_recovery_reader (the recovery file reader) and fuzz_vcd_reader (the
# VCD reader and the sampling behind it).
#
# Needs clang and libclang-rt-14-dev (libFuzzer and the sanitizer runtimes) besides
# the ordinary build dependencies.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSOLVENA_BUILD_FUZZERS=ON -DSOLVENA_BUILD_TESTS=OFF -DSOLVENA_BUILD_BENCHMARKS=OFF
ninja -C "$build" -j2 fuzz_chart_reader fuzz_json5 fuzz_profile fuzz_recovery_reader fuzz_vcd_reader

# New inputs go to a scratch folder so that the seed corpora in the repository stay as
# committed; crash inputs are kept under the build dir for the report.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

# run <target> <corpus folder> [extra libFuzzer flags...]
run() {
    local target=$1 corpus=$root/fuzz/corpus/$2
    shift 2
    local fuzzer=$build/fuzz/$target
    mkdir -p "$scratch/$target"

    echo "== $target: replaying $(find "$corpus" -type f | wc -l) seed inputs"
    find "$corpus" -type f -print0 | xargs -0 "$fuzzer" -artifact_prefix="$artifacts/$target-" "$@"

    echo "== $target: fuzzing for ${seconds}s"
    "$fuzzer" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$@" "$scratch/$target" "$corpus"
}

run fuzz_chart_reader chart_reader
run fuzz_json5 json5 -dict="$root/fuzz/json5.dict"
run fuzz_profile profile -dict="$root/fuzz/profile.dict"
run fuzz_recovery_reader recovery_reader
run fuzz_vcd_reader vcd_reader -dict="$root/fuzz/vcd.dict"
