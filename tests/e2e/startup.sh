#!/usr/bin/env bash
# Starting the program the way a user does: with a picture named on the
# command line (relative to the current folder), with a missing file, a
# folder, and a file that is no image.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_xvfb
mkdir -p "$WORK/pictures"
"$SAMPLE" "$WORK/pictures/sample.png" 400x300
echo "no pixels here" >"$WORK/pictures/notes.png"

echo "-- an image named on the command line is shown, centred, with its name and size"
(cd "$WORK/pictures" && start_lumeno sample.png && echo "$LUMENO_PID" >"$WORK/pid")
LUMENO_PID=$(cat "$WORK/pid")
PIDS+=("$LUMENO_PID")
id=$(wait_window '^ sample\.png \(400x300\)$')
sleep 1
import -window root "$OUT/startup.png"
window_geometry "$id"
# The picture is centred in the view, below the toolbar.
top=$(view_top "$OUT/startup.png" "$X" "$Y")
[ "$top" -gt "$Y" ] || fail "no toolbar found above the view"
centre_x=$((X + WIDTH / 2))
centre_y=$(((top + Y + HEIGHT) / 2))
expected=$(pixel "$WORK/pictures/sample.png" 200 150)
actual=$(pixel "$OUT/startup.png" "$centre_x" "$centre_y")
[ "$expected" = "$actual" ] || fail "centre pixel is $actual, expected $expected"
no_window 'Unable To Open File' || fail "a warning was shown for a good image"
stop_lumeno

echo "-- a missing file shows nothing and says nothing"
start_lumeno "$WORK/pictures/missing.png"
wait_window '^Corvane$' >/dev/null
sleep 1
no_window 'Unable To Open File' || fail "a warning was shown for a missing file"
xdotool search --onlyvisible --name '^Corvane$' >/dev/null || fail "the title changed"
stop_lumeno

echo "-- a folder gives a warning that says so"
start_lumeno "$WORK/pictures"
wait_window '^Unable To Open File$' >/dev/null
stop_lumeno

echo "-- a file that is no image gives the warning"
start_lumeno "$WORK/pictures/notes.png"
wait_window '^Unable To Open File$' >/dev/null
import -window root "$OUT/warning.png"
stop_lumeno

echo "1 passed, 0 failed"
