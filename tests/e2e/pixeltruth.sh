#!/usr/bin/env bash
# On a display scaled by 2, what the pointer shows is what is picked: over a
# picture whose every pixel has its own colour, at zoom 1 and after three
# wheel steps, the real pointer clicks on both sides of borders drawn on the
# screen, Ctrl+D copies the clicked colour's text, and it must be the colour
# of the screen pixel under the pointer.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

LUMENO_XVFB_SCREEN=1800x1200 start_xvfb
export QT_SCALE_FACTOR=2
mkdir -p "$XDG_CONFIG_HOME/Corvane"
printf '[view]\nwindow_geometry=@Rect(0 0 800 500)\n' >"$XDG_CONFIG_HOME/Corvane/Corvane.conf"
# Red is the column, green the row, blue 77.
convert -size 160x120 xc: -channel R -fx 'i/255' -channel G -fx 'j/255' -channel B -fx '77/255' \
    +channel "$WORK/coded.png"

start_lumeno "$WORK/coded.png"
WID=$(wait_window '^ coded\.png \(160x120\)$')
xdotool windowfocus --sync "$WID"
window_geometry "$WID"
ROW=$((Y + HEIGHT / 2 + 40))
xdotool mousemove $((X + WIDTH / 2)) "$ROW"

exact=0
total=0
for zoom in 1 1.728; do
    [ "$zoom" = 1 ] || xdotool click 4 click 4 click 4
    sleep 0.5
    import -window root "$OUT/zoom-$zoom.png"
    # "x r,g,b" for every device pixel of the row that shows the picture.
    convert "$OUT/zoom-$zoom.png" -crop "${WIDTH}x1+$X+$ROW" +repage -depth 8 txt:- |
        awk -F'[ :,()]+' -v x0="$X" 'NR > 1 && $5 == 77 { print x0 + $1, $3 "," $4 "," $5 }' \
            >"$WORK/row"
    # Both sides of a dozen borders at least 16 device pixels apart, all left
    # sides first: clicks closer together would make a double click.
    borders=$(awk 'NR > 1 && $2 != last && $1 >= after { print $1; after = $1 + 16 }
        { last = $2 }' "$WORK/row" | head -n 12)
    probes="$(for b in $borders; do echo $((b - 1)); done) $borders"
    [ -n "$probes" ] || fail "no picture under the pointer's row"
    for x in $probes; do
        shown=$(awk -v x="$x" '$1 == x { print $2 }' "$WORK/row")
        xdotool mousemove "$x" "$ROW" click 1 key ctrl+d
        total=$((total + 1))
        if poll 2 clipboard_is "$shown,255"; then
            exact=$((exact + 1))
        else
            echo "   x $x shows $shown, copied $(clipboard)"
        fi
    done
    echo "-- zoom $zoom at scale 2: $exact of $total picks exact"
done
[ "$exact" = "$total" ] || fail "$((total - exact)) picks differ from what is drawn"

stop_lumeno
echo "1 passed, 0 failed"
