#!/usr/bin/env bash
# Starting the program the way a user does: with a picture named on the
# command line (relative to the current folder), with a missing file, a
# folder, and a file that is no image; its options; and grabbing the screen.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

start_xvfb
mkdir -p "$WORK/pictures"
cd "$WORK/pictures"
"$SAMPLE" sample.png 400x300
cp -- sample.png -dash.png
echo "no pixels here" >notes.png
no_warning() { ! xdotool search --onlyvisible --name '^Unable To Open File$' >/dev/null; }

echo "-- an image named on the command line is shown, centred below the toolbar"
start_lumeno sample.png
id=$(wait_window '^ sample\.png \(400x300\)$')
sleep 0.5
import -window root "$OUT/startup.png"
window_geometry "$id"
centre() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }
[ "$(centre sample.png 200 150)" = "$(centre "$OUT/startup.png" $((X + WIDTH / 2)) \
    $((Y + 32 + (HEIGHT - 32) / 2)))" ] || fail "the centre pixel is not the picture's"
no_warning || fail "a warning was shown for a good image"
stop_lumeno

echo "-- help, the version and an unknown option answer without a window"
"$LUMENO" --help | grep -q '^Usage: lumeno \[OPTION\]... \[IMAGE\]$' || fail "--help"
"$LUMENO" --version | grep -qx 'Lumeno [0-9.]*' || fail "--version"
status=0
"$LUMENO" --bogus >/dev/null 2>"$WORK/err" || status=$?
[ "$status" = 64 ] && grep -q "unknown option '--bogus'" "$WORK/err" || fail "--bogus: $status"

echo "-- a path after -- may begin with a dash"
start_lumeno -- -dash.png
wait_window '^ -dash\.png \(400x300\)$' >/dev/null
stop_lumeno

echo "-- a missing file shows nothing and is named on standard error"
start_lumeno missing.png
wait_window '^Corvane$' >/dev/null
poll 5 grep -q "missing.png': no such file" "$WORK/lumeno.log" || fail "the missing file was not named"
no_warning || fail "a warning was shown for a missing file"

echo "-- a grab of the screen shows what another window showed, under the pointer"
convert -size 300x200 xc:'rgb(18,52,86)' "$WORK/solid.png"
display -geometry +100+150 "$WORK/solid.png" &
PIDS+=($!)
wait_window '^ImageMagick: solid\.png$' >/dev/null
xdotool search --name '^Corvane$' windowraise windowfocus --sync
xdotool mousemove 250 250 key ctrl+shift+g
wait_window '^\* screen \(1280x900\)$' >/dev/null
xdotool mousemove 251 250 mousemove 250 250 click 1 key ctrl+d
poll 5 clipboard_is "18,52,86,255" || fail "picked '$(clipboard)' after the grab"
stop_lumeno

echo "-- a folder, and a file that is no image, give the warning"
for path in . notes.png; do
    start_lumeno "$path"
    wait_window '^Unable To Open File$' >/dev/null
    import -window root "$OUT/warning.png"
    stop_lumeno
done
echo "1 passed, 0 failed"
