#!/usr/bin/env bash
# Builds the chart reader's fuzz target (clang, libFuzzer, ASan, UBSan), replays the
# seed corpus, then fuzzes for a bounded time. Exits non-zero on the first crash.
#
#   scripts/fuzz.sh [build-dir]      default build dir: build-fuzz beside this folder
#   FUZZ_SECONDS=N                   fuzzing time after the replay (default 60)
#
# Needs clang and libclang-rt-14-dev (libFuzzer and the sanitizer runtimes) besides
# the ordinary build dependencies.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
corpus=$root/fuzz/corpus/chart_reader

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSOLVENA_BUILD_FUZZERS=ON -DSOLVENA_BUILD_TESTS=OFF -DSOLVENA_BUILD_BENCHMARKS=OFF
ninja -C "$build" fuzz_chart_reader
fuzzer=$build/fuzz/fuzz_chart_reader

# New inputs go to a scratch folder so that the seed corpus in the repository stays as
# committed; crash inputs are kept under the build dir for the report.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

echo "== replaying $(find "$corpus" -type f | wc -l) seed inputs"
find "$corpus" -type f -print0 | xargs -0 "$fuzzer" -artifact_prefix="$artifacts/"

echo "== fuzzing for ${seconds}s"
"$fuzzer" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$scratch" "$corpus"
