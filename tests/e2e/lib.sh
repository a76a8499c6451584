# Shared by the end-to-end tests: a private X server, the program on it, and
# helpers to wait for windows and read the clipboard. Source it with
#   LUMENO SAMPLE OUTDIR
# as the script's arguments.
set -euo pipefail

LUMENO=$1
SAMPLE=$2
OUT=$3
rm -rf "$OUT"
mkdir -p "$OUT"
WORK=$(mktemp -d)
PIDS=()
trap 'kill "${PIDS[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$OUT/failure.png" 2>/dev/null || true
    sed 's/^/    | /' "$WORK"/lumeno.log >&2 2>/dev/null || true
    exit 1
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

start_xvfb() {
    lumeno_start_xvfb "$WORK/runtime" || fail "Xvfb did not start"
    PIDS+=("$LUMENO_XVFB_PID")
    export QT_QPA_PLATFORMTHEME= XDG_CONFIG_HOME=$WORK/config
}

# start_lumeno [ARGS...]: starts the program; its pid is in LUMENO_PID.
start_lumeno() {
    "$LUMENO" "$@" >"$WORK/lumeno.log" 2>&1 &
    LUMENO_PID=$!
    PIDS+=("$LUMENO_PID")
}

stop_lumeno() {
    kill "$LUMENO_PID" 2>/dev/null || true
    wait "$LUMENO_PID" 2>/dev/null || true
}

# poll SECONDS COMMAND...: runs COMMAND until it succeeds.
poll() {
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

clipboard() { xclip -selection clipboard -o 2>/dev/null | tr -d '\0' || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# wait_window REGEX: prints the id of the first visible window whose name
# matches; fails when none appears within 20 s.
wait_window() {
    poll 20 xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 ||
        fail "no window named /$1/ appeared"
    xdotool search --onlyvisible --name "$1" | head -n 1
}

# window_geometry ID: sets X, Y, WIDTH, HEIGHT.
window_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
}
