#!/usr/bin/env bash
# Keeps every Kestrune window and tool open on a simulated card for a while,
# with an axis moving and the logs full, and reports how fast the heap grows
# after a warm-up: what the program keeps is bounded, so it must not grow.
#   scripts/soak.sh [SECONDS [BOUND_KIB_PER_MINUTE [BUILD_DIR]]]
# SECONDS, the time measured after a warm-up of 30 s, defaults to 600 (an
# hour: 3600); with a bound, the run fails when the growth exceeds it.
# ./test.sh runs it for a minute with a bound of 128 KiB a minute, a quarter
# of what the latch log's undo history alone once added.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

seconds=${1:-600}
bound=${2:--1}
build=${3:-build}
build_tree "$build" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tests/soak_memory" "$seconds" "$bound" 2>/dev/null
