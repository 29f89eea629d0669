#!/usr/bin/env bash
# Builds the fuzz targets with clang (in build-fuzz/) and runs each for a
# while, starting from the seeds in tests/fuzz/corpus/.
#   tests/fuzz/run.sh [SECONDS]   each target for SECONDS (default 30)
# What a run finds stays in build-fuzz/findings/ and fails the run; replay
# one with build-fuzz/tests/fuzz/fuzz_<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-30}

if [[ ! -f build-fuzz/build.ninja ]]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_FUZZ=ON
fi
cmake --build build-fuzz

mkdir -p build-fuzz/findings
status=0
for target in ini_read ini_write numbertext console_parser; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    cp -n tests/fuzz/corpus/$target/* "$corpus"/
    log=build-fuzz/findings/$target.log
    if build-fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target-" "$corpus" >"$log" 2>&1; then
        echo "fuzz_$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
    else
        echo "fuzz_$target: FOUND A FAULT; the input is in build-fuzz/findings/:" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -20 "$log" >&2
        status=1
    fi
done
exit $status
