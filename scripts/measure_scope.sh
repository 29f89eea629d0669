#!/usr/bin/env bash
# What the scope adds to Kestrune's processor time, under a virtual X server:
# Kestrune with the motion window running a continuous move, measured over
# SECONDS without the scope, then with the scope open (10 ms sampling, a
# 60 s window, full), as a share of one core.
#   scripts/measure_scope.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/xvfb.sh
KESTRUNE_PACKAGES+=(xvfb xdotool)
install_missing_packages
build_tree build >/dev/null
seconds=${1:-20}

work=$(mktemp -d)
cp build/bin/kestrune build/bin/libTolvane.so build/bin/Motion_set.txt "$work/"
start_xvfb
kestrune=
cleanup() {
    [[ -n $kestrune ]] && kill -TERM "$kestrune" 2>/dev/null && timeout 10 tail --pid="$kestrune" -f /dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# Processor time of the process, all its threads, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$kestrune/stat"; }
threads() { for t in /proc/$kestrune/task/*; do echo "$(cat "$t/comm"):$(awk '{print $14 + $15}' "$t/stat")"; done | tr '\n' ' '; }
share() {
    local before after
    before=$(ticks)
    threads >&2; echo >&2
    sleep "$seconds"
    after=$(ticks)
    threads >&2; echo >&2
    awk -v t=$((after - before)) -v s="$seconds" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

(cd "$work" && exec ./kestrune) &
kestrune=$!
main=$(window 'Kestrune演示软件\(Ver 1.0\)')
xdotool windowmove "$main" 700 40
click "$main" 376 220 # 运动测试
motion=$(window '运动操作测试')
xdotool windowmove "$motion" 0 500
click "$motion" 50 160  # 连续运动
click "$motion" 600 292 # 启动
sleep 3
without=$(share)
echo "Kestrune, motion window running a move: $without% of one core"

if [[ -z ${KESTRUNE_NO_SCOPE:-} ]]; then # KESTRUNE_NO_SCOPE=1: the same twice, for the noise
    xdotool mousemove --window "$main" 100 100
    xdotool key ctrl+g
    scope=$(window '示波器')
    xdotool windowmove "$scope" 0 0
    # The time window's list: its last entry, 60 s.
    xdotool mousemove --window "$scope" 205 45 click 1
    sleep 0.5
    xdotool key End Return
fi
echo "filling the scope's 60 s window..."
sleep 62
with=$(share)
echo "the same with the scope open (10 ms, 60 s, full): $with% of one core"
awk -v a="$with" -v b="$without" 'BEGIN { printf "the scope adds %.2f%% of one core\n", a - b }'
