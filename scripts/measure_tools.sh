#!/usr/bin/env bash
# What each tool costs to keep open, measured from outside: Kestrune under a
# virtual X server with its four test windows open and a continuous move
# running, then each tool opened with its shortcut (default settings), then
# all of them. For each case a fresh Kestrune; after a warm-up (the scope's
# window full), the process's user + system time from /proc over SECONDS, as
# a share of one core. Each case runs RUNS times; the table gives the median.
#   scripts/measure_tools.sh [SECONDS [RUNS [CASE...]]]
# CASE is one of: none calllog scope machine console all (default: every one).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/xvfb.sh
KESTRUNE_PACKAGES+=(xvfb xdotool)
install_missing_packages
build_tree build >/dev/null
seconds=${1:-20}
runs=${2:-3}
shift $(($# > 2 ? 2 : $#))
cases=("$@")
[[ ${#cases[@]} -gt 0 ]] || cases=(none calllog scope machine console all)

work=$(mktemp -d)
cp build/bin/kestrune build/bin/libTolvane.so build/bin/Motion_set.txt "$work/"
# Wide enough that no window covers another: a covered window is drawn
# differently, and where a tool landed would change what the others cost.
start_xvfb 5600x1100
kestrune=
stop_kestrune() {
    if [[ -n $kestrune ]]; then
        kill -TERM "$kestrune" 2>/dev/null || true
        timeout 10 tail --pid="$kestrune" -f /dev/null || true
        kestrune=
    fi
}
cleanup() {
    stop_kestrune
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# Processor time of the process, all its threads, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$kestrune/stat"; }

# tool NAME: opens a tool with its shortcut, typed on the main window.
declare -A shortcut=([calllog]=ctrl+l [scope]=ctrl+g [machine]=ctrl+m [console]=ctrl+k)
declare -A title=([calllog]=调用记录 [scope]=示波器 [machine]=模拟机床 [console]=控制台)
declare -A place=([calllog]=1300 [scope]=2400 [machine]=3500 [console]=4500) # x, right of the test windows
tool() {
    xdotool mousemove --window "$main" 100 100
    sleep 0.2
    xdotool key "${shortcut[$1]}"
    local id
    id=$(window "${title[$1]}")
    xdotool windowmove "$id" "${place[$1]}" 0
}

# measure CASE: prints the share of one core, in per cent.
measure() {
    (cd "$work" && exec ./kestrune) &
    kestrune=$!
    main=$(window 'Kestrune演示软件\(Ver 1.0\)')
    xdotool windowmove "$main" 700 40
    click "$main" 376 88 # 参数设置
    xdotool windowmove "$(window 参数设置)" 0 0
    click "$main" 376 132 # I/O检测
    xdotool windowmove "$(window 'I/O状态检测')" 100 60
    click "$main" 376 176 # 计数功能
    xdotool windowmove "$(window 计数功能测试)" 200 120
    click "$main" 376 220 # 运动测试
    local motion
    motion=$(window 运动操作测试)
    xdotool windowmove "$motion" 0 500
    click "$motion" 50 160  # 连续运动
    click "$motion" 600 292 # 启动
    case $1 in
    none) ;;
    all) for t in calllog scope machine console; do tool "$t"; done ;;
    *) tool "$1" ;;
    esac
    sleep 12 # the scope's 10 s window fills; the call log's view settles
    local before after
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    stop_kestrune
    awk -v t=$((after - before)) -v s="$seconds" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

median() { tr ' ' '\n' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Round after round of every case, so that a drift of the machine's load
# falls on all the cases alike.
declare -A result values
for _ in $(seq "$runs"); do
    for c in "${cases[@]}"; do
        values[$c]+="$(measure "$c") "
    done
done
for c in "${cases[@]}"; do
    result[$c]=$(echo "${values[$c]% }" | median)
    echo "$c: ${values[$c]}-> median ${result[$c]}%" >&2
done

echo
echo "Kestrune, four test windows and a continuous move, ${seconds} s a run, median of $runs runs (% of one core):"
echo
echo "| open | share of a core | added by the tools |"
echo "|---|---|---|"
for c in "${cases[@]}"; do
    added=-
    [[ -n ${result[none]:-} && $c != none ]] && added=$(awk -v a="${result[$c]}" -v b="${result[none]}" 'BEGIN { printf "%+.2f", a - b }')
    case $c in
    none) name="no tool" ;;
    all) name="all the tools" ;;
    *) name=${title[$c]} ;;
    esac
    echo "| $name | ${result[$c]} % | $added |"
done
