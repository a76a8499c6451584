#!/usr/bin/env bash
# A user's session with the real program: open from the command line, draw a
# selection, Ctrl+C, Return to crop, Ctrl+S, a grab of the screen, paste
# another program's image, Save As in the real file dialog, and Ctrl+Q.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_xvfb
PICTURES=$WORK/pictures
mkdir -p "$PICTURES"
"$SAMPLE" "$WORK/original.png" 600x400
cp "$WORK/original.png" "$PICTURES/sample.png"

title_is() { [ "$(xdotool getwindowname "$WID")" = "$1" ]; }
# Screen position of image pixel (x, y) at zoom 1, centred in the view below
# the 32-pixel toolbar.
at() { echo $((X + (WIDTH - 600) / 2 + $1)) $((Y + 32 + (HEIGHT - 32 - 400) / 2 + $2)); }

echo "-- open from a relative path; a right-drag selects, Ctrl+C copies exactly the selection"
cd "$PICTURES"
start_lumeno sample.png
cd "$WORK"
WID=$(wait_window '^ sample\.png \(600x400\)$')
xdotool windowfocus --sync "$WID"
window_geometry "$WID"
xdotool mousemove $(at 100 50) mousedown 3 mousemove $(at 200 120) mousemove $(at 300 200) mouseup 3
poll 5 title_is " sample.png (600x400) - 200x150 @ (100, 50)" ||
    fail "title: $(xdotool getwindowname "$WID")"
import -window root "$OUT/01-selected.png"
xdotool key ctrl+c
copied() { xclip -selection clipboard -t image/png -o >"$WORK/copied.png" 2>/dev/null &&
    [ -s "$WORK/copied.png" ]; }
poll 5 copied || fail "no image on the clipboard"
convert "$WORK/original.png" -crop "200x150+100+50" +repage "$WORK/expected.png"
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
same "$WORK/copied.png" "$WORK/expected.png" || fail "the copied pixels differ from the selection"

echo "-- Return crops, Ctrl+S writes the file"
xdotool key Return
wait_window '^\* sample\.png \(200x150\)$' >/dev/null
xdotool key ctrl+s
wait_window '^ sample\.png \(200x150\)$' >/dev/null
same "$PICTURES/sample.png" "$WORK/expected.png" || fail "the saved file differs from the crop"

echo "-- a grab of the screen shows what another window showed, under the pointer"
convert -size 300x200 xc:'rgb(18,52,86)' "$WORK/solid.png"
display -geometry +100+150 "$WORK/solid.png" &
PIDS+=($!)
wait_window '^ImageMagick: solid\.png$' >/dev/null
xdotool windowfocus --sync "$WID" mousemove 250 250 key ctrl+shift+g
wait_window '^\* screen \(1280x900\)$' >/dev/null
xdotool mousemove 251 250 mousemove 250 250 click 1 key ctrl+d
poll 5 clipboard_is "18,52,86,255" || fail "picked '$(clipboard)' after the grab"
import -window root "$OUT/02-grabbed.png"

echo "-- paste an image that another program put on the clipboard, and Save As"
"$SAMPLE" "$WORK/other.png" 320x240
xclip -selection clipboard -t image/png -i "$WORK/other.png"
xdotool windowfocus --sync "$WID" key ctrl+v
wait_window '^\* untitled \(320x240\)$' >/dev/null
xdotool key ctrl+s
# With the name completion's pop-up open, the dialog takes Enter but not Return.
xdotool windowfocus --sync "$(wait_window '^Save Image$')"
sleep 0.5
xdotool type --delay 20 "$PICTURES/pasted.png"
sleep 0.5
xdotool key KP_Enter
wait_window '^ pasted\.png \(320x240\)$' >/dev/null
same "$PICTURES/pasted.png" "$WORK/other.png" || fail "the pasted picture was not saved"

echo "-- saved, Ctrl+Q quits without asking"
xdotool windowfocus --sync "$WID" key ctrl+q
status=0
wait "$LUMENO_PID" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "1 passed, 0 failed"
