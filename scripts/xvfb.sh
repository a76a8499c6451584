# Starts a private Xvfb server for a headless run; source it, then call
#   lumeno_start_xvfb RUNTIME_DIR
# The screen is 1280x900 unless LUMENO_XVFB_SCREEN gives another size.
# It exports DISPLAY (and points Qt at it) and sets LUMENO_XVFB_PID.
# A display whose previous server is still going away can look free, so a
# display counts only once a client can really connect to it. -noreset: by
# default the server resets when its last client leaves, and a program that
# connects during the reset fails to start.
lumeno_start_xvfb() {
    local runtime=$1 attempt n i pid
    for attempt in $(seq 20); do
        n=$((100 + RANDOM % 800))
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${LUMENO_XVFB_SCREEN:-1280x900}x24" -nolisten tcp -noreset 2>/dev/null &
        pid=$!
        for i in $(seq 50); do
            if DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
                LUMENO_XVFB_PID=$pid
                export DISPLAY=":$n"
                export QT_QPA_PLATFORM=xcb
                export XDG_RUNTIME_DIR=$runtime
                mkdir -p -m 700 "$XDG_RUNTIME_DIR"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    echo "Xvfb did not start" >&2
    return 1
}
