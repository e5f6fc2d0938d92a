#!/bin/bash
# The real binary as a Wayland client: weston's X11 backend runs nested in a
# virtual X display (its headless backend offers no seat, which SDL needs),
# and xdotool on weston's own window reaches the game through it. A start,
# the full screen, clicks at the menu's rows, and --timedemo
# playing a recording exactly as recorded.
#   run_wayland.sh path/to/fluffernauts REPLAY-DIR OUTDIR
set -u
BIN=$(readlink -f "$1")
REPLAYS=$(readlink -f "$2")
source "$(dirname "$0")/lib.sh" "$3"
cd "$(mktemp -d)" || fail "no temporary folder"
RT=$(mktemp -d)
chmod 700 "$RT"
start_display 1400x800x24
XDG_RUNTIME_DIR=$RT weston --backend=x11-backend.so --use-pixman --socket=wl-e2e --width=1280 \
    --height=720 --no-config --idle-time=0 >"$OUT/weston.log" 2>&1 &
WMPID=$!
for _ in $(seq 50); do
    [ -S "$RT/wl-e2e" ] && break
    sleep 0.1
done
[ -S "$RT/wl-e2e" ] || fail "weston did not start: $(cat "$OUT/weston.log")"
sleep 1
# Weston's X11 backend may take the pointer's first motion after its start
# for its entry only, and now and then sees a move only once the pointer
# moves again: every click here goes by a step beside its place first.
xdotool mousemove 10 10
sleep 0.2
xdotool mousemove 20 20
wclick() {
    xdotool mousemove $(($1 + 3)) $(($2 + 3))
    sleep 0.3
    xdotool mousemove "$1" "$2"
    sleep 0.3
    click "$1" "$2"
}
wl() { env -u DISPLAY WAYLAND_DISPLAY=wl-e2e XDG_RUNTIME_DIR="$RT" "$BIN" "$@"; }

wl >"$OUT/wayland.log" 2>&1 &
GAME=$!
sleep 3
alive "$OUT/wayland.log"
shot wayland-window
kill -TERM "$GAME"
wait_exit 143 "SIGTERM under Wayland"

# Weston places windows where it likes; the full screen is known: on
# 1280x720 the picture is 960x720 from x 160, 1.2 screen pixels a pixel.
wl --fullscreen >"$OUT/wayland.log" 2>&1 &
GAME=$!
sleep 3
xdotool mousemove 1000 100
sleep 0.3
xdotool key space
sleep 1
shot wayland-fullscreen
# (Below weston's own pointer, which stays at 0,0 where the move reached
# it late.)
[ "$(convert "$OUT/wayland-fullscreen.png" -crop 150x680+0+40 +repage -format '%[fx:maxima]' info:)" = 0 ] &&
    [ "$(convert "$OUT/wayland-fullscreen.png" -crop 960x720+160+0 +repage -format '%[fx:mean]' info:)" != 0 ] ||
    fail "the full screen under Wayland is not the picture between black bars"
# The High Scores row (picture 240, 380) opens the table; Quit (240, 420) ends.
wclick $((160 + 240 * 12 / 10)) $((380 * 12 / 10))
sleep 1
shot wayland-table
alive "$OUT/wayland.log"
compare -metric AE "$OUT/wayland-fullscreen.png" "$OUT/wayland-table.png" null: 2>/dev/null &&
    fail "a click on the High Scores row changed nothing"
xdotool key space
sleep 1
wclick $((160 + 240 * 12 / 10)) $((420 * 12 / 10))
wait_exit 0 "a click on Quit under Wayland"

replay=$REPLAYS/duel.replay
wl --timedemo "$replay" >"$OUT/wayland-timedemo.txt" 2>&1 || fail "--timedemo under Wayland: status $?"
tail -n +2 "$OUT/wayland-timedemo.txt" | diff - "${replay%.replay}.expected" >/dev/null ||
    fail "--timedemo under Wayland: statistics differ from the recording"
stop_display
echo "e2e: Wayland start, click, full screen and timedemo passed; screenshots in $OUT"
