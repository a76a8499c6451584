# Shared by the end-to-end tests: a private X server, the program on it, and
# small helpers to wait for windows and read pixels. Source it with
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

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$OUT/failure.png" 2>/dev/null || true
    cp "$WORK"/*.log "$OUT/" 2>/dev/null || true
    sed 's/^/    | /' "$WORK"/lumeno*.log >&2 2>/dev/null || true
    exit 1
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

start_xvfb() {
    lumeno_start_xvfb "$WORK/runtime" || fail "Xvfb did not start"
    PIDS+=("$LUMENO_XVFB_PID")
    export QT_QPA_PLATFORMTHEME=
    export XDG_CONFIG_HOME=$WORK/config
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

# wait_window REGEX [SECONDS]: prints the id of the first window whose name
# matches; fails when none appears in time.
wait_window() {
    local regex=$1 seconds=${2:-20} i id
    for i in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window named /$regex/ appeared"
}

# no_window REGEX: succeeds when no visible window's name matches.
no_window() {
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# pixel FILE X Y: the colour of one pixel as "r,g,b".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# window_geometry ID: sets X, Y, WIDTH, HEIGHT.
window_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# view_top SHOT X Y: the first screen row below the toolbar strip that
# starts at (X, Y), found by walking down its left margin until the strip's
# background colour ends.
view_top() {
    local shot=$1 x=$(($2 + 1)) y=$3 row
    row=$(convert "$shot" -crop "1x300+$x+$y" +repage txt:- |
        awk -F'[ :,]+' 'NR > 1 && $0 !~ /#D2E2F6/ { print $2; exit }')
    echo $((y + row))
}
