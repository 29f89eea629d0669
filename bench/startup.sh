#!/usr/bin/env bash
# Start-up time of Kestrune to its shown main window, on the simulated card:
# the median of N runs (default 9) under Xvfb, from the process start until
# the window is mapped on the screen.
#   bench/startup.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
KESTRUNE_PACKAGES+=(xvfb xauth xdotool)
install_missing_packages
build_tree build

runs=${1:-9}
if [[ -z "${BENCH_UNDER_XVFB:-}" ]]; then
    exec env BENCH_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$runs"
fi

times=()
for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    build/bin/kestrune 2>/dev/null &
    pid=$!
    # Polled by hand: xdotool's own --sync waits half a second between looks.
    until xdotool search --onlyvisible --name "Kestrune演示软件" >/dev/null 2>&1; do
        sleep 0.005
    done
    end=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid" || true
    times+=($(((end - start) / 1000000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to shown main window, ms: ${times[*]}"
echo "median: ${sorted[$((runs / 2))]} ms over $runs runs"
