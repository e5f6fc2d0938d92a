#!/bin/bash
# Records games of the real binary played with xdotool (--record), then
# plays them back: --timedemo must end with the statistics the recorded
# games ended with, --playdemo must play one to its end by itself and stop
# another at Escape, leaving the kept settings alone; damaged recordings
# end with a message and status 2.
#   run_record.sh path/to/fluffernauts OUTDIR
set -u
BIN=$(readlink -f "$1")
mkdir -p "$2"
source "$(dirname "$0")/lib.sh" "$(readlink -f "$2")"
rm -f "$OUT"/*.png
cd "$(mktemp -d)" || fail "no temporary folder"
SETTINGS=$XDG_CONFIG_HOME/fluffernauts/settings.conf

start_display

# Back at the menu, known by its logo. A game that a bazooka mole ended by
# itself has end screens (and maybe a score entry) first, each ended by a
# key.
logo() { convert "$1" -crop 260x50+270+95 +repage "$2"; }
back_to_menu() {
    xdotool mousemove 700 20
    for _ in 1 2 3 4; do
        shot now
        logo "$OUT/now.png" "$OUT/logo-now.png"
        compare -metric AE "$OUT/logo-menu.png" "$OUT/logo-now.png" null: 2>/dev/null && return
        echo "e2e: the game ended by itself; a key for its end screens"
        xdotool key Return
        sleep 1.5
    done
    fail "the menu did not come back"
}

# --- a visit of two games, recorded into a folder that is not there yet ---
start_game "$OUT/record.log" --record recordings/game.rec
sleep 3.5
xdotool key space
sleep 0.6
shot menu
logo "$OUT/menu.png" "$OUT/logo-menu.png"
xdotool key Return
sleep 2
for x in 150 300 450 600; do
    click "$x" 420
    sleep 0.2
done
xdotool keydown Right
sleep 0.5
xdotool keyup Right
press p
sleep 1
click 400 300
sleep 0.5
xdotool mousemove 780 300
sleep 0.4
click 250 440
press q
sleep 0.3
press Escape
sleep 1
back_to_menu
alive "$OUT/record.log"

xdotool key Return
sleep 2
click 300 400
sleep 0.3
press F11
sleep 1.5
click 500 450
sleep 0.3
press Escape
sleep 1
back_to_menu
xdotool key Up
sleep 0.3
xdotool key Return
wait_exit 0 "quitting a recorded visit"
[ -s "$OUT/record.log" ] && fail "recording wrote to the terminal: $(cat "$OUT/record.log")"
for rec in recordings/game.rec recordings/game-2.rec; do
    [ -s "$rec" ] || fail "no recording $rec"
    [ "$(head -1 "$rec")" = "fluffernauts recording 2" ] || fail "$rec: no header line"
    tail -1 "$rec" | grep -q '^end [0-9]* [0-9]* [0-9a-f]\{16\}$' || fail "$rec: no end line"
done
grep -q '^keys [0-9]* [0-9]* p$' recordings/game.rec || fail "the pause is not recorded"
grep -q '^switch ' recordings/game-2.rec || fail "F11 is not recorded"
cp recordings/*.rec "$OUT/"

# --- the timedemo ends as the recorded games did ---
for rec in recordings/game.rec recordings/game-2.rec; do
    "$BIN" --timedemo "$rec" >out.txt 2>err.txt || fail "--timedemo $rec: status $?: $(cat err.txt)"
    head -1 out.txt
    grep -q '^Timedemo: [0-9]* frames in [0-9.]* s, [0-9.]* frames per second$' out.txt ||
        fail "--timedemo $rec: no frame rate line"
    sed -n 's/^summary //p' "$rec" >recorded.txt
    tail -n +2 out.txt | diff recorded.txt - >"$OUT/timedemo.diff" ||
        fail "--timedemo $rec: statistics differ from the recorded game: $(cat "$OUT/timedemo.diff")"
done

# --- watching: Escape stops it; a whole one ends by itself ---
[ -s "$SETTINGS" ] || fail "the visit kept no settings"
cp "$SETTINGS" settings.before
start_game "$OUT/playdemo.log" --playdemo recordings/game.rec
sleep 1.5
shot playdemo
alive "$OUT/playdemo.log"
press Escape
wait_exit 0 "Escape during --playdemo"

start_game "$OUT/playdemo2.log" --playdemo recordings/game-2.rec
sleep 1
shot playdemo2
wait_exit 0 "--playdemo to the end of a recording"
[ -s "$OUT/playdemo.log" ] || [ -s "$OUT/playdemo2.log" ] &&
    fail "--playdemo wrote to the terminal: $(cat "$OUT"/playdemo*.log)"
cmp -s settings.before "$SETTINGS" || fail "watching a recording changed the kept settings"

# --- damaged recordings: a message and status 2, before any window ---
size=$(stat -c %s recordings/game.rec)
head -c $((size / 2)) recordings/game.rec >cut.rec
sed '0,/^mouse \([0-9]*\) \([0-9]*\) \([0-9]*\) /s//mouse \1 \2 1\3 /' recordings/game.rec >edited.rec
cmp -s edited.rec recordings/game.rec && fail "the edit changed nothing"
for case in "cut.rec:cut short" "edited.rec:checksum" "missing.rec:no such file"; do
    file=${case%%:*}
    for option in --timedemo --playdemo; do
        "$BIN" "$option" "$file" >out.txt 2>err.txt
        status=$?
        [ $status -eq 2 ] || fail "$option $file: status $status, wanted 2"
        [ -s out.txt ] && fail "$option $file printed on stdout"
        grep -q "${case#*:}" err.txt || fail "$option $file: the message was '$(cat err.txt)'"
    done
done
for s in menu playdemo playdemo2; do
    [ -s "$OUT/$s.png" ] || fail "no screenshot $s"
done

stop_display
echo "e2e: --record of two games, --timedemo of both to their statistics, --playdemo stopped" \
     "and played out, damaged recordings passed; screenshots in $OUT"
