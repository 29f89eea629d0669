#!/usr/bin/env bash
# The whole test suite again and again while a processor hog keeps every core
# busy: a test that depends on how long something takes, rather than waiting
# for what it needs, fails here. CI machines are this busy.
#   scripts/stress_tests.sh [REPEATS] [BUILD_DIR]   (20, build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

repeats=${1:-20}
build=${2:-build}
KESTRUNE_PACKAGES+=(stress-ng)
install_missing_packages
build_tree "$build"

# Twice as many hogs as cores, at the tests' own priority.
stress-ng --cpu $(($(nproc) * 2)) --timeout 0 --quiet &
hog=$!
trap 'kill "$hog" 2>/dev/null; wait "$hog" 2>/dev/null || true' EXIT

start=$SECONDS
# Each test runs REPEATS times in a row, and the run stops at its first failure.
if ! QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --repeat "until-fail:$repeats"; then
    echo "stress_tests: a test failed under load (see above)" >&2
    exit 1
fi
echo "stress_tests: every test of the suite passed $repeats runs in a row under" \
    "$(($(nproc) * 2)) processor hogs ($((SECONDS - start)) s)"
