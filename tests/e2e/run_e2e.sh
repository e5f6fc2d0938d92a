#!/bin/bash
# Plays the real binary the way a player would: in a 16-bit X display,
# started from a folder that is not its own, driven by xdotool.
#   run_e2e.sh path/to/fluffernauts path/to/wm_delete REPLAY-DIR OUTDIR
# Checks the command line and a start without a display; then the title,
# the menu (and what waiting in it costs), the high score table, the intro
# film, a game with a pause, F11 and Escape, and Up, Enter to quit; the
# window's close button during a game; SIGINT, SIGTERM and SIGHUP; the
# message box of damaged data going with its game; --timedemo on every
# recorded game; and the refusal of an 8-bit display. Screenshots land in
# OUTDIR.
set -u
BIN=$(readlink -f "$1")
WM_DELETE=$(readlink -f "$2")
REPLAYS=$(readlink -f "$3")
source "$(dirname "$0")/lib.sh" "$4"
rm -f "$OUT"/*.png
cd "$(mktemp -d)" || fail "no temporary folder"

# --- the command line, no display needed ---
"$BIN" --version >out.txt 2>&1 || fail "--version failed"
[ "$(cat out.txt)" = "Fluffernauts v1.0 rc2" ] || fail "--version printed '$(cat out.txt)'"
"$BIN" --help >out.txt 2>&1 || fail "--help failed"
grep -q -- --fullscreen out.txt || fail "--help does not mention --fullscreen"
"$BIN" --frobnicate >out.txt 2>err.txt
[ $? -eq 2 ] || fail "an unknown option must end with status 2"
[ -s out.txt ] && fail "usage errors go to stderr"
grep -q -- --timedemo err.txt || fail "no usage after an unknown option"

for display in "" ":199"; do
    DISPLAY=$display WAYLAND_DISPLAY= "$BIN" >out.txt 2>err.txt
    status=$?
    [ $status -eq 1 ] || fail "no display ('$display'): status $status, wanted 1"
    [ "$(wc -l <err.txt)" -eq 1 ] &&
        grep -q '^Fluffernauts needs a graphical display (X11 or Wayland): ' err.txt ||
        fail "no display ('$display'): stderr was '$(cat err.txt)'"
done

start_display
HISCORE="$(dirname "$BIN")/data/hiscore.dat"
[ -e "$HISCORE" ] && HAD_HISCORE=1 || HAD_HISCORE=0

# --- a whole visit: title, menu, table, film, a game, quit ---
start_game "$OUT/game.log"
sleep 1
shot title
sleep 3 # well past the 2.5 s in which the title swallows keys
xdotool key space
sleep 1
shot menu
before=$(cpu_ticks)
sleep 8
used=$(($(cpu_ticks) - before))
echo "e2e: waiting 8 s in the menu took $used CPU ticks of $(getconf CLK_TCK) a second"
[ "$used" -le $((8 * $(getconf CLK_TCK) / 10)) ] || fail "the menu used more than 10 % of a core"

for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.1; done
xdotool key Return
sleep 0.8
shot highscores
alive "$OUT/game.log"
xdotool key space
sleep 0.5
[ $HAD_HISCORE -eq 0 ] && [ -e "$HISCORE" ] && fail "looking at the table created $HISCORE"

xdotool key F9
sleep 0.1
xdotool key j
sleep 4
shot intro
alive "$OUT/game.log"
xdotool key Escape
sleep 0.6

xdotool key Return
sleep 2.5
click 400 200
sleep 0.5
shot game
press p
sleep 0.5
shot paused
sleep 1
shot paused_later
cmp -s "$OUT/paused.png" "$OUT/paused_later.png" || fail "the paused game still moved"
click 400 300
sleep 1
shot resumed
cmp -s "$OUT/paused_later.png" "$OUT/resumed.png" && fail "a click did not resume the game"
press F11
sleep 1.5
alive "$OUT/game.log"
shot fullscreen
press F11
sleep 1.5
alive "$OUT/game.log"
press Escape
sleep 1
# The clock seeds every game: now and then a bazooka mole ends one by itself
# within seconds. Its game-over picture, statistics and score line each end
# with a key; the menu is known by its logo, away from the pointer.
xdotool mousemove 700 20
logo() { convert "$1" -crop 260x50+270+95 +repage "$2"; }
logo "$OUT/menu.png" "$OUT/logo-menu.png"
for _ in 1 2 3 4; do
    shot now
    logo "$OUT/now.png" "$OUT/logo-now.png"
    compare -metric AE "$OUT/logo-menu.png" "$OUT/logo-now.png" null: 2>/dev/null && break
    echo "e2e: the game ended by itself; a key for its end screens"
    xdotool key Return
    sleep 1.5
done
shot menu_after_game
alive "$OUT/game.log"

xdotool key Up
sleep 0.3
shot menu_quit_row
xdotool key Return
wait_exit 0 "Up, Enter"
[ -s "$OUT/game.log" ] && fail "the game wrote to the terminal: $(cat "$OUT/game.log")"
for s in title menu highscores intro game paused resumed menu_after_game menu_quit_row; do
    [ -s "$OUT/$s.png" ] || fail "no screenshot $s"
done

# --- the window's close button in the middle of a game ---
# A game above that a bazooka mole ended by itself may have made the table.
table_before=$(cat "$HISCORE" 2>/dev/null | md5sum)
start_game "$OUT/close.log"
sleep 3.5
xdotool key space
sleep 0.5
xdotool key Return
sleep 2
"$WM_DELETE" "$WIN" || fail "could not send WM_DELETE_WINDOW"
wait_exit 0 "the close button"
[ "$(cat "$HISCORE" 2>/dev/null | md5sum)" = "$table_before" ] || fail "a closed game entered a score"

# --- signals end the program in order: 128 + the signal's number ---
for case in "INT 130 menu" "TERM 143 game" "HUP 129 title"; do
    set -- $case
    start_game "$OUT/signal.log"
    if [ "$3" != title ]; then
        sleep 3.5
        xdotool key space
        sleep 0.5
    fi
    [ "$3" = game ] && xdotool key Return && sleep 2
    kill -"$1" "$GAME"
    wait_exit "$2" "SIG$1 in the $3"
    grep -q "Shutting down" "$OUT/signal.log" && fail "SIG$1: $(cat "$OUT/signal.log")"
done

# --- a message goes with its game: damaged data shows a box (and says it on
# stderr); a signal while it shows ends the program with 128 + the signal,
# and no window of the game outlives it, even killed outright ---
COPY=$(mktemp -d)
cp "$BIN" "$COPY/" && cp -r "$(dirname "$BIN")/data" "$COPY/data" || fail "no copy of the game"
rm -f "$COPY/data/hiscore.dat"
head -c 1000 "$(dirname "$BIN")/data/gfx.dat" >"$COPY/data/gfx.dat"
boxes() { xwininfo -root -children | grep -c '"Fluffernauts": ()'; }
for sig in TERM KILL; do
    "$COPY/fluffernauts" >"$OUT/message.log" 2>&1 &
    GAME=$!
    for _ in $(seq 50); do
        [ "$(boxes)" -gt 0 ] && break
        sleep 0.1
    done
    [ "$(boxes)" -eq 1 ] || fail "no message box for a damaged gfx.dat"
    shot message
    kill -"$sig" "$GAME"
    [ $sig = TERM ] && want=143 || want=137
    wait_exit $want "SIG$sig while the message shows"
    sleep 0.3
    [ "$(xwininfo -root -children | grep -c '"Fluffernauts"')" -eq 0 ] ||
        fail "a window of the game outlived it (SIG$sig)"
    grep -q 'member "cursor.bmp" of .*gfx.dat' "$OUT/message.log" ||
        fail "the message is not on stderr: $(cat "$OUT/message.log")"
done
rm -rf "$COPY"

# --- the timedemo plays every recording exactly as recorded ---
for replay in "$REPLAYS"/*.replay; do
    name=$(basename "$replay" .replay)
    "$BIN" --timedemo "$replay" >"$OUT/timedemo-$name.txt" 2>&1 ||
        fail "--timedemo $name: status $?"
    head -1 "$OUT/timedemo-$name.txt"
    grep -q '^Timedemo: [0-9]* frames in [0-9.]* s, [0-9.]* frames per second$' \
        "$OUT/timedemo-$name.txt" || fail "--timedemo $name: no frame rate line"
    tail -n +2 "$OUT/timedemo-$name.txt" | diff - "${replay%.replay}.expected" >/dev/null ||
        fail "--timedemo $name: statistics differ from the recording"
done
printf 'seed 1\nmouse 1 2\n' >damaged.replay
"$BIN" --timedemo damaged.replay >out.txt 2>err.txt
[ $? -eq 2 ] && [ -s err.txt ] || fail "a damaged timedemo file must give a message and status 2"

# --- a display that cannot show 16-bit pictures: the game says so, and its
# OK button ends it with status 1 (a failure, not a normal end) ---
stop_display
start_display 800x600x8
"$BIN" >"$OUT/hicolor.log" 2>&1 &
GAME=$!
for _ in $(seq 50); do
    [ "$(boxes)" -gt 0 ] && break
    sleep 0.1
done
[ "$(boxes)" -eq 1 ] || fail "no message box on an 8-bit display: $(cat "$OUT/hicolor.log")"
shot hicolor
read -r bw bh bx by < <(xwininfo -root -children | grep '"Fluffernauts": ()' |
    sed 's/.*) *\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\).*/\1 \2 \3 \4/')
click $((bx + bw / 2)) $((by + bh - 25))
wait_exit 1 "the Hicolor message's OK"
grep -q '^Sorry, but you need a Hicolor mode' "$OUT/hicolor.log" ||
    fail "the Hicolor message is not on stderr: $(cat "$OUT/hicolor.log")"

stop_display
echo "e2e: options, no display, title, menu, table, intro, game, pause, F11, close button," \
     "signals, message boxes, timedemo and the Hicolor refusal passed; screenshots in $OUT"
