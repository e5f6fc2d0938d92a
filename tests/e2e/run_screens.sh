#!/bin/bash
# The real binary on screens of today's sizes (1366x768, 1920x1080 and
# 3840x2160 at depth 24), under a window manager: the window opens at the
# largest whole multiple of 800x600 that fits, a click at a scaled position
# takes the menu row drawn under it, the pointer stays in the window during
# a game and is free while paused, and the full screen (F11, and
# --fullscreen kept for the next visit) covers the screen with the picture
# centred at 4:3 between black bars. Screenshots land in OUTDIR.
#   run_screens.sh path/to/fluffernauts OUTDIR
set -u
BIN=$(readlink -f "$1")
source "$(dirname "$0")/lib.sh" "$2"
cd "$(mktemp -d)" || fail "no temporary folder"
SETTINGS=$XDG_CONFIG_HOME/fluffernauts/settings.conf

# max|mean NAME WxH+X+Y: of a screenshot's area, 0..1.
level() { convert "$OUT/$2.png" -crop "$3" +repage -format "%[fx:$1]" info:; }

# The picture's place on a window or screen of W x H: as large as fits at 4:3.
fit() {
    local w=$1 h=$2
    if [ $((w * 3)) -gt $((h * 4)) ]; then
        PW=$((h * 4 / 3)) PH=$h
    else
        PW=$w PH=$((w * 3 / 4))
    fi
    PX=$(((w - PW) / 2)) PY=$(((h - PH) / 2))
}

# at X Y: the screen position of picture pixel (X, Y), in the window
# whose inside is at GX, GY and GW x GH.
at() {
    fit "$GW" "$GH"
    SX=$((GX + PX + ($1 * 2 + 1) * PW / 1600)) SY=$((GY + PY + ($2 * 2 + 1) * PH / 1200))
}

# The window's inside now, into GX GY GW GH.
measure() { read -r GX GY GW GH < <(geometry "$WIN"); }

# The high score table shows the same picture whether it was reached by
# keys or by a click on its row (row 5: picture x 180..299, y 360..399).
click_table_row() {
    local name=$1
    # The highlight follows the pointer over the rows: from Play, with the
    # pointer beside the rows, five rows down. The menu takes one key a
    # frame and forgets the rest.
    at 240 180
    xdotool mousemove "$SX" "$SY"
    sleep 0.3
    at 760 300
    xdotool mousemove "$SX" "$SY"
    sleep 0.3
    for k in Down Down Down Down Down Return; do xdotool key $k; sleep 0.1; done
    sleep 0.8
    at 20 20
    xdotool mousemove "$SX" "$SY"
    sleep 0.5
    shot "$name-table-by-keys"
    xdotool key space
    sleep 0.8
    at 240 380
    click "$SX" "$SY"
    sleep 0.8
    alive "$OUT/$name.log"
    at 20 20
    xdotool mousemove "$SX" "$SY"
    sleep 0.5
    shot "$name-table-by-click"
    compare -metric AE "$OUT/$name-table-by-keys.png" "$OUT/$name-table-by-click.png" null: \
        2>/dev/null || fail "$name: a click on the table's row at $SX,$SY did not open the table"
    xdotool key space
    sleep 0.8
}

# The full screen: the window covers the screen, the picture stands at
# 4:3 in the middle, the bars are black.
check_full_screen() {
    local name=$1 w=$2 h=$3
    measure
    [ "$GW $GH" = "$w $h" ] || fail "$name: full screen is ${GW}x$GH, wanted ${w}x$h"
    shot "$name-fullscreen"
    fit "$w" "$h"
    [ "$(level mean "$name-fullscreen" "${PW}x$PH+$PX+$PY")" != 0 ] ||
        fail "$name: the full screen shows no picture"
    if [ "$PX" -gt 0 ]; then
        [ "$(level maxima "$name-fullscreen" "${PX}x$h+0+0")" = 0 ] &&
            [ "$(level maxima "$name-fullscreen" "${PX}x$h+$((PX + PW))+0")" = 0 ] ||
            fail "$name: the bars beside the picture are not black"
        # The picture's own edge columns are not cut off.
        [ "$(level mean "$name-fullscreen" "1x$PH+$PX+0")" != 0 ] ||
            fail "$name: the picture does not start at x $PX"
    fi
}

for screen in 1366x768 1920x1080 3840x2160; do
    w=${screen%x*} h=${screen#*x}
    name=screen-$screen
    rm -f "$SETTINGS"
    start_display "${screen}x24"
    start_wm
    start_game "$OUT/$name.log"
    sleep 1
    measure
    m=$((w / 800 < h / 600 ? w / 800 : h / 600))
    [ "$GW $GH" = "$((800 * m)) $((600 * m))" ] ||
        fail "$name: the window is ${GW}x$GH, wanted $((800 * m))x$((600 * m))"
    sleep 2.5
    xdotool key space
    sleep 0.8
    shot "$name-menu"
    click_table_row "$name"

    # A game keeps the pointer in the window; a pause lets it go.
    at 240 180
    click "$SX" "$SY"
    sleep 2.5
    xdotool mousemove 0 0
    sleep 0.3
    read -r MX MY < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    [ "$MX" -ge "$GX" ] && [ "$MX" -lt $((GX + GW)) ] && [ "$MY" -ge "$GY" ] &&
        [ "$MY" -lt $((GY + GH)) ] || fail "$name: the pointer left the window during a game"
    shot "$name-game"
    press p
    sleep 0.5
    xdotool mousemove 0 0
    sleep 0.3
    [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:0 y:0" ] ||
        fail "$name: the pointer is still held while the game is paused"
    press p
    sleep 0.3
    press Escape
    sleep 1.5

    press F11
    sleep 1.5
    alive "$OUT/$name.log"
    check_full_screen "$name" "$w" "$h"
    [ "$screen" = 1920x1080 ] && click_table_row "$name-fullscreen"
    press F11
    sleep 1.5
    measure
    [ "$GW $GH" = "$((800 * m)) $((600 * m))" ] ||
        fail "$name: back from the full screen the window is ${GW}x$GH"
    kill -TERM "$GAME"
    wait_exit 143 "$name: SIGTERM"
    stop_display
done

# --fullscreen is kept: the next visit opens on the full screen, and leaving
# it with F11 is kept in its turn.
start_display 1920x1080x24
start_wm
start_game "$OUT/kept.log" --fullscreen
sleep 1.5
check_full_screen kept 1920 1080
kill -TERM "$GAME"
wait_exit 143 "--fullscreen"
grep -qx 'fullscreen = yes' "$SETTINGS" || fail "--fullscreen was not kept: $(cat "$SETTINGS")"
start_game "$OUT/kept.log"
sleep 1.5
check_full_screen kept-again 1920 1080
press F11
sleep 1.5
kill -TERM "$GAME"
wait_exit 143 "after F11"
grep -qx 'fullscreen = no' "$SETTINGS" || fail "leaving the full screen was not kept"
[ -s "$OUT/kept.log" ] && fail "the game wrote to the terminal: $(cat "$OUT/kept.log")"
stop_display
echo "e2e: window sizes, scaled clicks, the held pointer and the full screen passed on" \
     "1366x768, 1920x1080 and 3840x2160; screenshots in $OUT"
