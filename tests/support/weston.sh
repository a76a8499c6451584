#!/usr/bin/env bash
# A private Weston (Wayland's reference compositor), headless, drawing with its
# CPU renderer, for tests on the wayland platform. Source it, then call
#   lumeno_start_weston RUNTIME_DIR [WESTON_OPTIONS...]
# It exports XDG_RUNTIME_DIR (RUNTIME_DIR, created), WAYLAND_DISPLAY and
# QT_QPA_PLATFORM=wayland, and sets LUMENO_WESTON_PID; the caller stops it.
# Its output is 1280x900 unless the options say otherwise.
#
# Run on its own, it runs a command on a Weston of its own and stops Weston
# when the command ends, with the command's status:
#   weston.sh [WESTON_OPTIONS...] -- COMMAND [ARGS...]

lumeno_start_weston() {
    local runtime=$1 i
    shift
    mkdir -p -m 700 "$runtime"
    export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=lumeno-weston QT_QPA_PLATFORM=wayland
    # A window appears at once, in its final place and size, not zooming in:
    # a capture shows it as the program drew it.
    printf '[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\n' \
        >"$runtime/weston.ini"
    # --debug lets a client (weston-screenshooter) capture the output.
    weston --backend=headless-backend.so --use-pixman --config="$runtime/weston.ini" --debug \
        --idle-time=0 --socket="$WAYLAND_DISPLAY" --width=1280 --height=900 "$@" \
        --log="$runtime/weston.log" >/dev/null 2>&1 &
    LUMENO_WESTON_PID=$!
    # The socket appears once the shell is loaded; clients that connect from
    # then on are served.
    for i in $(seq 100); do
        [ -S "$runtime/$WAYLAND_DISPLAY" ] && return 0
        kill -0 "$LUMENO_WESTON_PID" 2>/dev/null || break
        sleep 0.05
    done
    echo "weston did not start:" >&2
    sed 's/^/    | /' "$runtime/weston.log" >&2 2>/dev/null || true
    kill "$LUMENO_WESTON_PID" 2>/dev/null || true
    wait "$LUMENO_WESTON_PID" 2>/dev/null || true
    return 1
}

# lumeno_capture_weston FILE: writes what the output shows to FILE (PNG).
lumeno_capture_weston() {
    local dir
    dir=$(mktemp -d) || return 1
    # weston-screenshooter names its file after the time, to the second, in
    # the current folder: a folder of its own for each capture.
    (cd "$dir" && weston-screenshooter >/dev/null 2>&1) && mv "$dir"/wayland-screenshot-*.png "$1"
    local status=$?
    rm -rf "$dir"
    return $status
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -uo pipefail
    options=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        options+=("$1")
        shift
    done
    shift
    runtime=$(mktemp -d)
    trap 'kill "$LUMENO_WESTON_PID" 2>/dev/null; wait 2>/dev/null; rm -rf "$runtime"' EXIT
    lumeno_start_weston "$runtime/runtime" "${options[@]}" || exit 1
    "$@"
fi
