#!/usr/bin/env bash
# The Windows pass of test.sh for one architecture:
#   scripts/test_windows.sh ARCH QT
# ARCH x64 or x86, QT its Qt for Windows (a prefix or the .tar.xz). Builds and
# packages with scripts/windows.sh, checks the package without Wine
# (scripts/check_windows.sh, the zip's file list), then under Wine in a fresh
# prefix: the whole test suite, Kestrune and Flashmend on a virtual X server,
# and the installer installing and uninstalling silently. Where no Wine can
# run the architecture's programs, the Wine part is skipped, saying why.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/xvfb.sh

if [[ $# -ne 2 ]]; then
    echo "usage: scripts/test_windows.sh x64|x86 QT_PREFIX|QT_ARCHIVE.tar.xz" >&2
    exit 2
fi
arch=$1
qt=$2
build=build-windows-$arch
out=$PWD/$build/out
started=$SECONDS
fail() {
    echo "test_windows ($arch): $*" >&2
    exit 1
}

KESTRUNE_PACKAGES+=("${KESTRUNE_WINDOWS_PACKAGES[@]}" wine wine64 xvfb xdotool locales)
install_missing_packages

echo "-- build and packages"
scripts/windows.sh "$arch" "$qt" "$out"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Kestrune-$version-windows-$arch
zip=$out/$name.zip
setup=$out/$name-setup.exe
[[ -f $zip && -f $setup ]] || fail "scripts/windows.sh made no $name.zip or $name-setup.exe"

work=$(mktemp -d)
cleanup() {
    if [[ -n ${WINEPREFIX:-} ]]; then
        wineserver -k 2>/dev/null || true
    fi
    [[ -z ${xvfb:-} ]] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "-- the zip's files"
if [[ $arch == x64 ]]; then gcc_dll=libgcc_s_seh-1.dll; else gcc_dll=libgcc_s_dw2-1.dll; fi
expected=$(printf "$name/%s\n" Kestrune.exe Flashmend.exe Tolvane.dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_zh_CN.qm "$gcc_dll" libstdc++-6.dll \
    libwinpthread-1.dll qt.conf Motion_set.txt 使用说明.txt | sort)
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
if [[ $listed != "$expected" ]]; then
    diff <(echo "$expected") <(echo "$listed") || true
    fail "the zip's files are not the expected ones (< expected, > in the zip)"
fi
echo "  $(wc -l <<<"$listed") files, as expected"
unzip -q "$zip" -d "$work/portable"
portable=$work/portable/$name
grep -q "$([[ $arch == x64 ]] && echo 64 || echo 32) 位的 Tolvane.dll" "$portable/使用说明.txt" ||
    fail "使用说明.txt does not say which Tolvane.dll goes with it"

echo "-- static checks"
scripts/check_windows.sh "$arch" "$portable" | sed 's/^/  /'

# Wine for the architecture: 64-bit programs need wine64, 32-bit ones
# Debian's wine32:i386 as well, which is tried once.
wine_missing=""
if [[ $arch == x86 ]] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
    echo "-- installing wine32:i386 for the 32-bit programs"
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" dpkg --add-architecture i386
    "${sudo[@]}" apt-get update -qq >"$work/apt.log" 2>&1 || echo "  apt-get update reported errors (in $work/apt.log)"
    if ! DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq wine32:i386 >>"$work/apt.log" 2>&1; then
        wine_missing="wine32:i386 cannot be installed here ($(grep -E '^E: ' "$work/apt.log" | tail -1 | cut -c4-))"
    fi
fi
if [[ -n $wine_missing ]]; then
    echo "== Windows ($arch): the runs under Wine were skipped: $wine_missing; built, packaged and checked without Wine in $((SECONDS - started)) s =="
    exit 0
fi

echo "-- a fresh Wine prefix, as a Chinese Windows"
# The programs' users run Windows in Chinese: file names in the ANSI code
# page 936 (GBK). Wine takes its code pages from the Unix locale.
if [[ $'\n'$(locale -a)$'\n' != *$'\n'zh_CN.utf8$'\n'* ]]; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
# Qt Test writes to the debugger unless it is told that the output is a
# console's; Wine hands no QT_* variable over, the prefix's environment does.
wine reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null 2>&1
wineserver -w
# One server for every run that follows, instead of one each, and Wine's own
# services started now, by a run whose output goes nowhere: started by the
# first test, they would hold CTest's pipe open until its time-out.
wineserver -p
wine cmd /c exit >/dev/null 2>&1
winpath() { echo "Z:${1//\//\\}"; }

echo "-- the tests under Wine"
ctest_status=0
ctest --test-dir "$build" --output-on-failure --timeout 300 >"$work/ctest.txt" 2>&1 || ctest_status=$?
grep -E '^ *[0-9]+/[0-9]+ Test' "$work/ctest.txt" | sed 's/^/  /'
summary=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$work/ctest.txt" || true)
if [[ $ctest_status -ne 0 ]]; then
    # Each failure with its place, then CTest's list of the failed tests.
    grep -E 'FAIL!|failure location|\*\*\*(Failed|Timeout|Exception)|Subprocess aborted' "$work/ctest.txt" | head -100 || true
    sed -n '/The following tests FAILED/,$p' "$work/ctest.txt" | head -50
    fail "tests failed under Wine: $summary"
fi
totals=$(awk '/^Totals: /{p += $2; f += $4; s += $6} END {print p + 0, f + 0, s + 0}' \
    "$build/Testing/Temporary/LastTest.log")
read -r functions_passed functions_failed functions_skipped <<<"$totals"
echo "  $summary"
echo "  test functions: $functions_passed passed, $functions_failed failed, $functions_skipped skipped"
grep -E '^SKIP   :' "$build/Testing/Temporary/LastTest.log" | sed 's/^SKIP   : /  skipped: /' | sort -u || true

echo "-- Kestrune on a virtual X server, from the unpacked zip"
start_xvfb
# waited PID SECONDS: whether the process ended within SECONDS.
waited() {
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
# click WINDOW X Y: a click at a point of the window, raised first in the
# same request stream: with no window manager, nothing raises it otherwise.
click() {
    xdotool windowraise "$1" mousemove --window "$1" "$2" "$3" click 1
}
# gone TITLE: waits until no window has that title.
gone() {
    for _ in $(seq 300); do
        [[ -z $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) ]] && return
        sleep 0.1
    done
    fail "the window '$1' stays open"
}
# trace_ok TRACE: begins with tvn_board_init, ends with the one tvn_board_close
# (the trace ends its lines as Windows does, CR LF).
trace_ok() {
    tr -d '\r' <"$1" >"$1.lf"
    set -- "$1.lf"
    [[ $(head -1 "$1") == "tvn_board_init() = "* ]] || fail "$1: first call $(head -1 "$1")"
    [[ $(grep -c '^tvn_board_close()' "$1") -eq 1 ]] || fail "$1: tvn_board_close() not called once"
    [[ $(tail -1 "$1") == "tvn_board_close() = "* ]] || fail "$1: last call $(tail -1 "$1")"
    echo "  trace: $(wc -l <"$1") calls, from '$(head -1 "$1")' to '$(tail -1 "$1")'"
}
cp -r "$portable" "$work/app"
trace=$work/kestrune-trace.txt
TOLVANE_TRACE=$(winpath "$trace") wine "$work/app/Kestrune.exe" >"$work/kestrune.log" 2>&1 &
kestrune=$!
main=$(window 'Kestrune演示软件\(Ver 1.0\)' 600)
opened=()
for button in 88:参数设置 132:'I/O状态检测' 176:计数功能测试 220:运动操作测试; do
    click "$main" 376 "${button%%:*}"
    window "${button#*:}" 300 >/dev/null
    opened+=("${button#*:}")
done
xdotool mousemove --window "$main" 100 100
for key in ctrl+l:调用记录 ctrl+g:示波器 ctrl+m:模拟机床 ctrl+k:控制台; do
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    xdotool key "${key%%:*}"
    window "${key#*:}" 300 >/dev/null
    opened+=("${key#*:}")
done
echo "  opened: ${opened[*]}"
click "$main" 376 264 # 退    出
waited "$kestrune" 60 || fail "Kestrune did not end after 退出"
wait "$kestrune" || fail "Kestrune ended with $? ($(tail -3 "$work/kestrune.log"))"
trace_ok "$trace"

echo "-- Flashmend downloading a small file"
printf 'simulated firmware\n' >"$work/demo.s6x"
trace=$work/flashmend-trace.txt
TOLVANE_TRACE=$(winpath "$trace") wine "$work/app/Flashmend.exe" >"$work/flashmend.log" 2>&1 &
flashmend=$!
dialog=$(window Rizedidove 600)
click "$dialog" 545 53 # 浏览
window '打开' 300 >/dev/null
xdotool type --delay 20 "$(winpath "$work/demo.s6x")"
xdotool key Return
gone '打开'
click "$dialog" 126 109 # 固件升级
for _ in $(seq 600); do
    grep -q '^tvn_download_firmware(' "$trace" 2>/dev/null && break
    sleep 0.1
done
download=$(tr -d '\r' <"$trace" | grep '^tvn_download_firmware(' || true)
[[ $download == *") = 0" ]] || fail "no download: $download"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Return # 退出, the default button
waited "$flashmend" 60 || fail "Flashmend did not end after 退出"
wait "$flashmend" || fail "Flashmend ended with $? ($(tail -3 "$work/flashmend.log"))"
echo "  $download"
trace_ok "$trace"
kill "$xvfb" 2>/dev/null || true
xvfb=""

echo "-- the installer, silently"
if [[ $arch == x64 ]]; then program_files="Program Files"; else program_files="Program Files (x86)"; fi
installed=$WINEPREFIX/drive_c/$program_files/Kestrune
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Kestrune
wine "$setup" /S
files=$(cd "$installed" && find . -type f | sed 's|^\./||' | sort)
expected_installed=$(sed "s|^$name/||" <<<"$expected"$'\n'"$name/Uninstall.exe" | sort)
if [[ $files != "$expected_installed" ]]; then
    diff <(echo "$expected_installed") <(echo "$files") || true
    fail "the installed files are not the zip's and the uninstaller"
fi
shortcuts=$(cd "$menu" && ls)
for link in "Kestrune 运动控制卡测试.lnk" "Flashmend 固件升级.lnk" "卸载 Kestrune.lnk"; do
    grep -qxF "$link" <<<"$shortcuts" || fail "no Start-menu entry $link (there are: $shortcuts)"
done
echo "  $(wc -l <<<"$files") files in C:\\$program_files\\Kestrune; Start menu: $(echo $shortcuts)"
wine "$installed/Uninstall.exe" /S
# The uninstaller copies itself away and runs from there, on its own, so
# this waits until its work is seen done: the folder, the Start-menu entries
# and the registry key gone, in whatever order it removes them.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune'
for _ in $(seq 300); do
    if [[ ! -e $installed && ! -e $menu ]] && ! wine reg query "$uninstall_key" >/dev/null 2>&1; then
        break
    fi
    sleep 0.2
done
[[ ! -e $installed ]] || fail "left after uninstalling: $(cd "$installed" && find . | tail -n +2 | tr '\n' ' ')"
[[ ! -e $menu ]] || fail "Start-menu folder left after uninstalling"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall registry key is left"
fi
echo "  uninstalled: no files, no Start-menu entries, no registry key left"

echo "== Windows ($arch): passed in $((SECONDS - started)) s =="
