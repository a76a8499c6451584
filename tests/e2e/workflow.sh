#!/usr/bin/env bash
# A user's session with the real program: open from the command line, hover
# and click, Ctrl+D, draw a selection and read the title, Escape, Ctrl+C of
# the selection, Return to crop, Ctrl+S, paste of an image another program
# put on the clipboard, a save that fails, and a restart that restores the
# window's place and the folder last used, where a save past the file-size
# limit fails without ending the program.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_xvfb
PICTURES=$WORK/pictures
mkdir -p "$PICTURES"
"$SAMPLE" "$WORK/original.png" 600x400
# A flat patch whose colour is known, to click on.
convert "$WORK/original.png" -fill 'rgb(18,52,86)' -draw 'rectangle 350,200 549,349' \
    "$WORK/original.png"
cp "$WORK/original.png" "$PICTURES/sample.png"

# poll SECONDS COMMAND...: runs COMMAND until it succeeds.
poll() {
    local seconds=$1 i
    shift
    for i in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
clipboard_text_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
title() { xdotool getwindowname "$WID"; }
# Screen position of image pixel (x, y) while the image is shown at zoom 1,
# centred in the view.
at() { echo $((IMAGE_X + $1)) $((IMAGE_Y + $2)); }

echo "-- open from the command line"
start_lumeno "$PICTURES/sample.png"
WID=$(wait_window '^ sample\.png \(600x400\)$')
xdotool windowfocus --sync "$WID"
sleep 0.5
window_geometry "$WID"
import -window root "$OUT/01-opened.png"
TOP=$(view_top "$OUT/01-opened.png" "$X" "$Y")
IMAGE_X=$((X + (WIDTH - 600) / 2))
IMAGE_Y=$((TOP + (Y + HEIGHT - TOP - 400) / 2))

echo "-- hover and click, then Ctrl+D copies the clicked colour's text"
xdotool mousemove $(at 450 275) click 1
xdotool key ctrl+d
poll 5 clipboard_text_is "18,52,86,255" ||
    fail "Ctrl+D copied '$(xclip -selection clipboard -o 2>/dev/null)'"
xdotool mousemove $(at 60 60)
sleep 0.3
import -window root "$OUT/02-clicked.png"

echo "-- right-drag a selection; the title tells its size and place"
xdotool mousemove $(at 100 50) mousedown 3
xdotool mousemove $(at 200 120)
xdotool mousemove $(at 300 200) mouseup 3
poll 5 sh -c "xdotool getwindowname $WID | grep -q ' - 200x150 @ '" || fail "title: $(title)"
read -r SEL_X SEL_Y <<<"$(title | sed -E 's/.* @ \(([0-9]+), ([0-9]+)\)$/\1 \2/')"
echo "   selection at $SEL_X,$SEL_Y: $(title)"
sleep 0.3
import -window root "$OUT/03-selected.png"

echo "-- Escape clears it"
xdotool key Escape
poll 5 sh -c "[ \"\$(xdotool getwindowname $WID)\" = ' sample.png (600x400)' ]" ||
    fail "title after Escape: $(title)"

echo "-- Ctrl+C copies exactly the selected pixels"
xdotool mousemove $(at 100 50) mousedown 3 mousemove $(at 300 200) mouseup 3
poll 5 sh -c "xdotool getwindowname $WID | grep -q ' - 200x150 @ '" || fail "title: $(title)"
read -r SEL_X SEL_Y <<<"$(title | sed -E 's/.* @ \(([0-9]+), ([0-9]+)\)$/\1 \2/')"
xdotool key ctrl+c
copied() { xclip -selection clipboard -t image/png -o >"$WORK/copied.png" 2>/dev/null &&
    [ -s "$WORK/copied.png" ]; }
poll 5 copied || fail "no image on the clipboard"
convert "$WORK/original.png" -crop "200x150+$SEL_X+$SEL_Y" +repage "$WORK/expected.png"
differ=$(compare -metric AE "$WORK/copied.png" "$WORK/expected.png" null: 2>&1 || true)
[ "$differ" = "0" ] || fail "the copied pixels differ from the selection in $differ pixels"

echo "-- Return crops, Ctrl+S writes the file"
xdotool key Return
wait_window '^\* sample\.png \(200x150\)$' >/dev/null
xdotool key ctrl+s
wait_window '^ sample\.png \(200x150\)$' >/dev/null
differ=$(compare -metric AE "$PICTURES/sample.png" "$WORK/expected.png" null: 2>&1 || true)
[ "$differ" = "0" ] || fail "the saved file differs from the crop in $differ pixels"
import -window root "$OUT/04-cropped-and-saved.png"

echo "-- paste an image that another program put on the clipboard"
"$SAMPLE" "$WORK/other.png" 320x240
xclip -selection clipboard -t image/png -i "$WORK/other.png"
xdotool windowfocus --sync "$WID"
xdotool key ctrl+v
wait_window '^\* untitled \(320x240\)$' >/dev/null

echo "-- a save that fails says so and leaves the file it would replace intact"
printf 'precious bytes' >"$PICTURES/keep.unknownformat"
xdotool key ctrl+s
dialog=$(wait_window '^Save Image$')
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 20 "$PICTURES/keep.unknownformat"
xdotool key Return
# The dialog asks before replacing a file; answer yes.
sleep 0.5
xdotool key y
wait_window '^Unable To Save File$' >/dev/null
import -window root "$OUT/05-save-failed.png"
[ "$(cat "$PICTURES/keep.unknownformat")" = "precious bytes" ] || fail "the file was damaged"
xdotool key Return
poll 5 sh -c "xdotool getwindowname $WID | grep -q '^\* untitled (320x240)$'" ||
    fail "the document changed: $(title)"

echo "-- saved, the window closes without asking"
xdotool windowfocus --sync "$WID"
xdotool key ctrl+s
dialog=$(wait_window '^Save Image$')
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 20 "$PICTURES/pasted.png"
xdotool key Return
wait_window '^ pasted\.png \(320x240\)$' >/dev/null

echo "-- the window reopens where it was, in the folder last used"
xdotool windowmove "$WID" 140 90
xdotool windowsize "$WID" 1000 640
sleep 0.5
python3 "$(dirname "${BASH_SOURCE[0]}")/closewindow.py" "$WID"
status=0
wait "$LUMENO_PID" || status=$?
[ "$status" = "0" ] || fail "the program ended with status $status"

# Started again under a 64 KB file-size limit, for the save below.
ulimit -S -f 64
start_lumeno "$PICTURES/pasted.png"
ulimit -S -f unlimited
WID=$(wait_window '^ pasted\.png \(320x240\)$')
window_geometry "$WID"
[ "$X,$Y,$WIDTH,$HEIGHT" = "140,90,1000,640" ] || fail "reopened at $X,$Y ${WIDTH}x$HEIGHT"
xdotool windowfocus --sync "$WID"

echo "-- a save past the file-size limit fails like a full disk, and the program lives on"
printf 'precious bytes' >"$PICTURES/keep.bmp"
xdotool key ctrl+shift+s
dialog=$(wait_window '^Save Image$')
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 20 "$PICTURES/keep.bmp"
xdotool key KP_Enter
sleep 0.5
xdotool key y
wait_window '^Unable To Save File$' >/dev/null
[ "$(cat "$PICTURES/keep.bmp")" = "precious bytes" ] || fail "the file was damaged"
xdotool key Return
poll 5 sh -c "xdotool getwindowname $WID | grep -q '^ pasted.png (320x240)$'" ||
    fail "the document changed: $(title)"
xdotool windowfocus --sync "$WID"
xdotool key ctrl+o
dialog=$(wait_window '^Open Image$')
xdotool windowfocus --sync "$dialog"
sleep 0.5
# A bare name opens from the folder the dialog starts in.
xdotool type --delay 20 "sample.png"
sleep 0.5
# (With the name completion's pop-up open, the dialog takes Enter but not
# Return.)
xdotool key KP_Enter
wait_window '^ sample\.png \(200x150\)$' >/dev/null
import -window root "$OUT/06-reopened.png"
stop_lumeno

echo "1 passed, 0 failed"
