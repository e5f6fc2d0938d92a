#!/bin/bash
# Plays the real binary the way a player would: in a 16-bit X display,
# started from a folder that is not its own, driven by xdotool.
#   run_e2e.sh path/to/fluffernauts OUTDIR
# Title after start, a key after 2.5 s brings the menu; the high score
# table, the intro film (F9, J) and a game left with Escape each return to
# the menu; Up then Enter quits with status 0. Screenshots land in OUTDIR.
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

HISCORE="$(dirname "$BIN")/data/hiscore.dat"
[ -e "$HISCORE" ] && HAD_HISCORE=1 || HAD_HISCORE=0
alive() { kill -0 "$GAME" 2>/dev/null || fail "the game exited early: $(cat "$OUT/game.log")"; }

sleep 1
shot title
sleep 3  # well past the 2.5 s in which the title swallows keys, even on a slow machine
xdotool key space
sleep 0.7
shot menu

# The high score table (row 5), then back with a key.
for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.1; done
xdotool key Return
sleep 0.8
shot highscores
alive
xdotool key space
sleep 0.5
if [ $HAD_HISCORE -eq 0 ] && [ -e "$HISCORE" ]; then
    fail "looking at the table created $HISCORE"
fi

# The hidden film: F9 then J, a few seconds of it, then a key ends it.
xdotool key F9
sleep 0.1
xdotool key j
sleep 4
shot intro
alive
xdotool key Escape
sleep 0.6

# A game: row 0, shoot once, leave with Escape (no high score entry).
xdotool key Return
sleep 2.5
# The game reads the button and the keys once a frame: hold them a while,
# as a hand would.
xdotool mousemove 400 200 mousedown 1
sleep 0.15
xdotool mouseup 1
sleep 0.5
shot game
alive
xdotool keydown Escape
sleep 0.2
xdotool keyup Escape
sleep 1
shot menu_after_game
alive

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
for s in title menu highscores intro game menu_after_game menu_quit_row; do
    [ -s "$OUT/$s.png" ] || fail "no screenshot $s"
done
echo "e2e: title, menu, high scores, intro, a game and quit passed; screenshots in $OUT"
