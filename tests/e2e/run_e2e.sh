#!/bin/bash
# Plays the real binary the way a player would: in a 16-bit X display,
# started from a folder that is not its own, driven by xdotool.
#   run_e2e.sh path/to/fluffernauts OUTDIR
# Title after start, a key after 2.5 s brings the menu, Up then Enter quits
# with status 0. Screenshots land in OUTDIR.
set -u
BIN=$(readlink -f "$1")
OUT=$2
mkdir -p "$OUT"
rm -f "$OUT"/*.png

fail() {
    echo "e2e: FAIL: $*" >&2
    [ -n "${GAME:-}" ] && kill "$GAME" 2>/dev/null
    [ -n "${XPID:-}" ] && kill "$XPID" 2>/dev/null
    exit 1
}

# A free display number.
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        DISP=":$n"
        break
    fi
done
[ -n "${DISP:-}" ] || fail "no free X display"

Xvfb "$DISP" -screen 0 800x600x16 -nolisten tcp >"$OUT/xvfb.log" 2>&1 &
XPID=$!
export DISPLAY=$DISP
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

shot() { import -display "$DISP" -window root "$OUT/$1.png" 2>/dev/null; }

# Anywhere but the game's own folder.
cd "$(mktemp -d)" || fail "no temporary folder"
"$BIN" >"$OUT/game.log" 2>&1 &
GAME=$!

# Wait for the window, then give it the keyboard (there is no window manager).
WIN=""
for _ in $(seq 100); do
    WIN=$(xdotool search --name '^fluffernauts$' 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    kill -0 "$GAME" 2>/dev/null || fail "game exited at start: $(cat "$OUT/game.log")"
    sleep 0.1
done
[ -n "$WIN" ] || fail "no game window"
xdotool mousemove 700 20

sleep 1
shot title
sleep 2.2  # past the 2.5 s in which the title swallows keys
xdotool key space
sleep 0.7
shot menu
xdotool key Up
sleep 0.3
shot menu_quit_row
xdotool key Return

for _ in $(seq 100); do
    kill -0 "$GAME" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$GAME" 2>/dev/null; then
    fail "the game did not quit after Up, Enter"
fi
wait "$GAME"
STATUS=$?
kill "$XPID" 2>/dev/null
wait "$XPID" 2>/dev/null
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS: $(cat "$OUT/game.log")"
for s in title menu menu_quit_row; do
    [ -s "$OUT/$s.png" ] || fail "no screenshot $s"
done
echo "e2e: title, menu and quit passed; screenshots in $OUT"
