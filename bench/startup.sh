#!/usr/bin/env bash
# Start-up of the real program under Xvfb: resident memory of an empty window
# once it has settled (after the 5 s in which it may switch to OpenGL), and
# the time until a small image is shown, against the same program started
# without the toolkit's OpenGL integration (QT_XCB_GL_INTEGRATION=none) in
# the same run. Reported, not asserted.
#
#   bench/startup.sh [--quick] [LUMENO]
#
# --quick leaves out the resident memory (12 s of waiting) and times 3 starts
# instead of 5.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
quick=
if [ "${1:-}" = --quick ]; then
    quick=1
    shift
fi
lumeno=${1:-$root/build/lumeno}
rounds=5
[ -n "$quick" ] && rounds=3
work=$(mktemp -d)
source "$root/scripts/xvfb.sh"
lumeno_start_xvfb "$work/runtime"
trap 'kill $LUMENO_XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
export QT_QPA_PLATFORMTHEME= XDG_CONFIG_HOME=$work/config
convert -size 320x240 gradient:red-blue "$work/small.png"

# resident KIB...: the resident memory of an empty window after 6 s.
resident() {
    env "$@" "$lumeno" >/dev/null 2>&1 &
    local pid=$!
    sleep 6
    awk '/VmRSS/ { print $2 }' "/proc/$pid/status"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# shown: milliseconds from start until the image's title appears (median of
# $rounds).
shown() {
    local times=() i start pid
    for ((i = 0; i < rounds; i++)); do
        start=$(date +%s%N)
        env "$@" "$lumeno" "$work/small.png" >/dev/null 2>&1 &
        pid=$!
        until xdotool search --name '^ small\.png' >/dev/null 2>&1; do sleep 0.005; done
        times+=($((($(date +%s%N) - start) / 1000000)))
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$((rounds / 2 + 1))p"
}

ratio() {
    awk "BEGIN { printf \"%.2f\", $1 / $2 }"
}

if [ -z "$quick" ]; then
    base_rss=$(resident QT_XCB_GL_INTEGRATION=none)
    rss=$(resident LUMENO_BENCH=1)
    echo "empty window: $((rss / 1024)) MB resident, baseline $((base_rss / 1024)) MB, ratio $(ratio "$rss" "$base_rss")x"
    echo "BENCH|empty window: resident memory after 6 s, against no OpenGL integration|$((rss / 1024)) MB|$((base_rss / 1024)) MB|$(ratio "$rss" "$base_rss")|-"
fi
base_ms=$(shown QT_XCB_GL_INTEGRATION=none)
ms=$(shown LUMENO_BENCH=1)
echo "small image shown after $ms ms, baseline $base_ms ms, ratio $(ratio "$ms" "$base_ms")x"
echo "BENCH|320 x 240 PNG: start -> title shown, against no OpenGL integration|$ms ms|$base_ms ms|$(ratio "$ms" "$base_ms")|-"
