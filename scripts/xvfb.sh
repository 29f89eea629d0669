# Shared by the scripts that drive the programs under a virtual X server.

# start_xvfb [SIZE]: a virtual X server on a free-looking display number,
# its screen SIZE (1280x1024), exported as DISPLAY for the Qt programs; its
# pid in $xvfb.
start_xvfb() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 "${1:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display QT_QPA_PLATFORM=xcb
    sleep 1
}

# window TITLE [TENTHS]: waits for the window, up to TENTHS tenths of a
# second (100), and prints its id.
window() {
    local id
    for _ in $(seq "${2:-100}"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        if [[ -n $id ]]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
    echo "$(basename "$0"): no window '$1'" >&2
    exit 1
}
