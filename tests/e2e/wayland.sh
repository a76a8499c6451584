#!/usr/bin/env bash
# On Wayland: the real program, on a private headless Weston, shows a picture
# whose every pixel has its own colour, and at zoom 1 the compositor's output
# holds every one of those pixels exactly, wherever Weston placed the window.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/weston.sh"

fail() {
    echo "FAIL: $*" >&2
    sed 's/^/    | /' "$WORK"/lumeno.log >&2 2>/dev/null || true
    exit 1
}

lumeno_start_weston "$WORK/runtime" || fail "weston did not start"
PIDS+=("$LUMENO_WESTON_PID")
export QT_QPA_PLATFORMTHEME= XDG_CONFIG_HOME=$WORK/config
# Red is the column, green the row, blue 77.
convert -size 240x180 xc: -channel R -fx 'i/255' -channel G -fx 'j/255' -channel B -fx '77/255' \
    +channel "$WORK/coded.png"
start_lumeno "$WORK/coded.png"

# shown: captures the output and compares it with the picture wherever its top
# left pixel is; fails while that pixel is nowhere (not shown yet), prints the
# differences when it is found but the rest differs.
shown() {
    lumeno_capture_weston "$OUT/shown.png" && convert "$OUT/shown.png" -depth 8 "$WORK/shown.ppm" &&
        python3 - "$WORK/shown.ppm" 240 180 77 >"$WORK/compared" <<'EOF'
import sys
magic, size, depth, pixels = open(sys.argv[1], "rb").read().split(b"\n", 3)
width, height = (int(n) for n in size.split())
w, h, blue = (int(a) for a in sys.argv[2:5])
at = lambda x, y: pixels[3 * (y * width + x) : 3 * (y * width + x) + 3]
# The top left pixel and its right neighbour, on a pixel's boundary.
corner = pixels.find(bytes((0, 0, blue, 1, 0, blue)))
while corner >= 0 and corner % 3:
    corner = pixels.find(bytes((0, 0, blue, 1, 0, blue)), corner + 1)
if corner < 0:
    sys.exit(1)
corner //= 3
x0, y0 = corner % width, corner // width
wrong = [(x, y, tuple(at(x0 + x, y0 + y))) for y in range(h) for x in range(w)
         if at(x0 + x, y0 + y) != bytes((x, y, blue))]
print(f"at {x0},{y0}: {w * h - len(wrong)} of {w * h} pixels exact")
for x, y, got in wrong[:10]:
    print(f"   pixel {x},{y} shows {got}")
EOF
}
poll 20 shown || fail "the picture was not shown"
sed 's/^/-- /' "$WORK/compared"
grep -q " $((240 * 180)) of " "$WORK/compared" || fail "the output differs from the picture"
stop_lumeno
echo "1 passed, 0 failed"
