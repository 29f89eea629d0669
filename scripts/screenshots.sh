#!/usr/bin/env bash
# Makes the screenshots of docs/screenshots/ again, after a change of layout:
# the main window, each test window and Flashmend mid-download, from the
# programs in build/bin/ on a simulated card, under a virtual X server.
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/xvfb.sh
KESTRUNE_PACKAGES+=(xvfb xdotool imagemagick)
install_missing_packages
build_tree build >/dev/null

out=docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
# A folder of its own, so that the build's settings files stay as they are.
cp build/bin/kestrune build/bin/flashmend build/bin/libTolvane.so build/bin/Motion_set.txt "$work/"
printf 'simulated firmware\n' >"$work/demo.s6x"

start_xvfb
pids=()
cleanup() {
    # Flashmend waits for its download before it closes.
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do timeout 10 tail --pid="$pid" -f /dev/null || true; done
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# click WINDOW X Y: a click at a point of the window, in its own pixels,
# raised first so that no other window takes the click.
click() {
    xdotool windowraise "$1"
    sleep 0.2
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.4
}
# shot WINDOW NAME: the window, raised above the others, into NAME.png.
shot() {
    xdotool windowraise "$1"
    sleep 0.5
    import -window "$1" "$out/$2.png"
    echo "$out/$2.png"
}

(cd "$work" && exec ./kestrune) &
pids+=($!)
main=$(window 'Kestrune演示软件\(Ver 1.0\)')
xdotool windowmove "$main" 700 40
sleep 0.5
shot "$main" main

click "$main" 376 88 # 参数设置
para=$(window '参数设置')
xdotool windowmove "$para" 20 20
click "$para" 43 21 # the first tab, 脉冲设置
shot "$para" parameters

click "$main" 376 220 # 运动测试
motion=$(window '运动操作测试')
xdotool windowmove "$motion" 20 20
click "$motion" 50 160  # 连续运动
click "$motion" 600 292 # 启动
sleep 1.5
shot "$motion" motion

click "$main" 376 132 # I/O检测
io=$(window 'I/O状态检测')
xdotool windowmove "$io" 20 20
click "$io" 368 203 # 第 1位
click "$io" 528 203 # 第 3位
click "$io" 462 104 # S1: servo on
sleep 0.5
shot "$io" io

click "$main" 376 176 # 计数功能: the running axis latches every 1000 counts
counter=$(window '计数功能测试')
xdotool windowmove "$counter" 20 20
sleep 4
shot "$counter" counter

# The tools of the main window's menu.
xdotool mousemove --window "$main" 100 100
xdotool key ctrl+l
calls=$(window '调用记录')
xdotool windowmove "$calls" 20 20
click "$calls" 457 45 # 隐藏定时刷新
shot "$calls" calllog

# 控制台: calls with their answers and out values, a profile the card refuses,
# a mistake at its column, a move on another axis, an unknown name, and the
# hint of the call being typed (axis 1: axis 0 runs the continuous move).
xdotool mousemove --window "$main" 100 100
xdotool key ctrl+k
console=$(window '控制台')
xdotool windowmove "$console" 20 20
for call in 'tvn_set_profile(1, 400, 2000, 0.1, 0.1)' 'tvn_get_position_unitmm(1, &)' \
    'tvn_get_card_soft_version(0, &, &)' 'tvn_set_profile(1, 3000, 2000, 0.1, 0.1)' 'tvn_t_pmove(0, 1.5, 0)' \
    'tvn_t_pmove(2, 1000, 0)' 'tvn_pmove(0, 1000, 0)'; do
    xdotool type --delay 15 "$call"
    sleep 0.3
    xdotool key Return
    sleep 0.3
done
xdotool type --delay 15 'tvn_set_st_profile(1, 400, '
shot "$console" console
# Completion: part of a name, and the names that hold it in their list (a
# window of its own, so the screen around the console is taken).
xdotool key ctrl+a BackSpace
xdotool type --delay 60 'set_p'
sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$console")"
import -window root -crop "${WIDTH}x$((HEIGHT + 160))+${X}+${Y}" "$out/console-completion.png"
echo "$out/console-completion.png"
click "$console" 400 200 # the list closes; Esc would stop the axes

# 模拟机床: EL+ of axis 0 held active stops the continuous move; the I/O
# window shows the limit.
xdotool windowraise "$main"
xdotool mousemove --window "$main" 100 250 click 3 # the right-click menu
sleep 0.5
xdotool key Down Down Down Return # its third entry, 模拟机床
machine=$(window '模拟机床')
xdotool windowmove "$machine" 20 20
click "$machine" 208 111 # EL+ of 第0轴
xdotool key Down Return   # 强制有效
sleep 1
shot "$machine" machine
xdotool windowmove "$io" 20 20
shot "$io" io-limit
click "$machine" 208 111
xdotool key Up Return     # back to 自动
sleep 1
xdotool mousemove --window "$main" 100 100
xdotool key ctrl+g
scope=$(window '示波器')
xdotool windowmove "$scope" 20 20
click "$motion" 50 184  # 定长运动, 4000
click "$motion" 234 312 # S 形曲线加速
# A trigger on axis 0's speed passing 1000, a fifth of a 5 s window before it.
click "$scope" 205 45   # 时间窗
xdotool key Up Return   # 5 s
click "$scope" 107 74   # 触发源
xdotool key Down Down Down Return # 第0轴速度
click "$scope" 255 74   # 电平
xdotool key ctrl+a
xdotool type --delay 20 1000
xdotool key Tab
click "$scope" 683 74   # 触发
click "$motion" 600 292 # 启动
sleep 6
shot "$scope" scope-capture
rm -f "$out/scope-capture.csv" # no question whether to replace it
click "$scope" 840 45 # 导出 CSV…
browse=$(window '导出 CSV')
xdotool type --delay 20 "$PWD/$out/scope-capture.csv"
xdotool key Return
sleep 0.5

click "$motion" 50 228 # 圆弧插补: the centre 1000, 1000 from where the axes are, a full circle
click "$motion" 105 58 # 第1轴 too
click "$scope" 367 45  # 运动触发
click "$motion" 600 292 # 启动
sleep 7
click "$scope" 117 162 # XY 轨迹
shot "$scope" scope-xy-arc

(cd "$work" && exec ./flashmend) &
pids+=($!)
flashmend=$(window 'Rizedidove')
xdotool windowmove "$flashmend" 20 20
click "$flashmend" 545 53 # 浏览
browse=$(window '打开')
xdotool type --delay 20 "$work/demo.s6x"
xdotool key Return
sleep 0.5
click "$flashmend" 126 109 # 固件升级
sleep 1.5
shot "$flashmend" flashmend

# 模拟下载故障: the next download fails with code 5.
sleep 3
xdotool mousemove --window "$flashmend" 300 420 click 3
sleep 0.5
xdotool key Down Right Return # 模拟下载故障, 下次下载返回错误码…
window '模拟下载故障' >/dev/null
xdotool key Return            # 5, as offered
sleep 0.5
click "$flashmend" 126 109    # 固件升级
sleep 2.5
shot "$flashmend" flashmend-fault
