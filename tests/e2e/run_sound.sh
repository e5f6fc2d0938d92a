#!/bin/bash
# What the real binary plays, captured by SDL's disk audio driver (which
# writes what it plays to a file, at the pace of real time): the intro's
# tune, the gun after a click in a game, and silence while the game is
# paused.
#   run_sound.sh path/to/fluffernauts OUTDIR
set -u
BIN=$(readlink -f "$1")
source "$(dirname "$0")/lib.sh" "$2"
cd "$(mktemp -d)" || fail "no temporary folder"
RAW=$PWD/sound.raw
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$RAW

# bytes: how much the capture holds now.
bytes() { stat -c %s "$RAW" 2>/dev/null || echo 0; }
# loudness FROM TO: the largest sample (16-bit, signed) between two offsets.
loudness() {
    python3 - "$RAW" "$1" "$2" <<'PY'
import array, sys
path, a, b = sys.argv[1], int(sys.argv[2]) & ~3, int(sys.argv[3]) & ~3
with open(path, 'rb') as f:
    f.seek(a)
    s = array.array('h', f.read(max(0, b - a)))
print(max((abs(x) for x in s), default=0))
PY
}

start_display
start_game "$OUT/sound.log"
sleep 3.5
xdotool key space
sleep 1
quiet_from=$(bytes)
sleep 1
quiet=$(loudness "$quiet_from" "$(bytes)")

xdotool key F9
sleep 0.1
xdotool key j
sleep 1
tune_from=$(bytes)
sleep 2
tune=$(loudness "$tune_from" "$(bytes)")
xdotool key Escape
sleep 1
echo "e2e: the menu peaks at $quiet, the intro's tune at $tune"
[ "$tune" -gt 1000 ] || fail "the intro played no tune (peak $tune)"

xdotool key Return
sleep 2.5
xdotool mousemove 400 300
sleep 0.3
press p
sleep 1
paused_from=$(bytes)
sleep 2
paused=$(loudness "$paused_from" "$(bytes)")
[ "$paused" -eq 0 ] || fail "sound went on while paused (peak $paused)"
press p
sleep 0.5
gun_from=$(bytes)
click 400 300
sleep 0.4
gun=$(loudness "$gun_from" "$(bytes)")
echo "e2e: paused peaks at $paused, the gun at $gun"
[ "$gun" -gt 1000 ] || fail "a click in a game played no gun (peak $gun)"
[ -s "$RAW" ] || fail "nothing was captured"
kill -TERM "$GAME"
wait_exit 143 "SIGTERM"
[ -s "$OUT/sound.log" ] && fail "the game wrote to the terminal: $(cat "$OUT/sound.log")"
stop_display
echo "e2e: the tune, the gun and a silent pause passed"
