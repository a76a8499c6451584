#!/usr/bin/env bash
# Starting the program the way a user does: with a picture named on the
# command line (relative to the current folder), with a missing file, a
# folder, and a file that is no image; its options; and grabbing the screen.
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

echo "-- help, the version and an unknown option answer without a window"
"$LUMENO" --help | grep -q '^Usage: lumeno \[OPTION\]... \[IMAGE\]$' || fail "--help"
"$LUMENO" --version | grep -qx 'Lumeno [0-9.]*' || fail "--version: $("$LUMENO" --version)"
status=0
"$LUMENO" --bogus >/dev/null 2>"$WORK/err" || status=$?
[ "$status" = 64 ] && grep -q "unknown option '--bogus'" "$WORK/err" || fail "--bogus: $status"

echo "-- a path after -- may begin with a dash"
cp "$WORK/pictures/sample.png" "$WORK/pictures/-dash.png"
(cd "$WORK/pictures" && start_lumeno -- -dash.png && echo "$LUMENO_PID" >"$WORK/pid")
LUMENO_PID=$(cat "$WORK/pid")
wait_window '^ -dash\.png \(400x300\)$' >/dev/null
stop_lumeno

echo "-- a missing file shows nothing and is named on standard error"
start_lumeno "$WORK/pictures/missing.png"
wait_window '^Corvane$' >/dev/null
sleep 1
no_window 'Unable To Open File' || fail "a warning was shown for a missing file"
xdotool search --onlyvisible --name '^Corvane$' >/dev/null || fail "the title changed"
grep -q "missing.png': no such file" "$WORK/lumeno.log" || fail "the missing file was not named"

echo "-- a grab of the screen shows what another window showed, under the pointer"
convert -size 300x200 xc:'rgb(18,52,86)' "$WORK/solid.png"
display -geometry +100+150 "$WORK/solid.png" &
PIDS+=($!)
sleep 1
xdotool search --name '^Corvane$' windowraise windowfocus --sync
xdotool mousemove 250 250 key ctrl+shift+g
id=$(wait_window '^\* screen \(1280x900\)$')
xdotool mousemove 251 250 mousemove 250 250 click 1 key ctrl+d
for _ in $(seq 30); do
    [ "$(xclip -selection clipboard -o 2>/dev/null)" = "18,52,86,255" ] && break
    sleep 0.1
done
[ "$(xclip -selection clipboard -o 2>/dev/null)" = "18,52,86,255" ] || fail "picked after the grab"
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
