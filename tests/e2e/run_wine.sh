#!/bin/bash
# The Windows build under Wine: the unit and headless suite (headless, no
# display), every recorded game through --timedemo on a virtual X display
# (the same statistics as on Linux), the game run from a folder named with
# a non-ASCII letter, and a screenshot of its real window at the title.
#   run_wine.sh BUILD_WIN REPLAYS
# BUILD_WIN is scripts/windows.sh's build folder: game/ holds the programs,
# wine/ becomes the Wine prefix, e2e-output/ the screenshots and logs.
set -u
B=$(readlink -f "$1")
REPLAYS=$(readlink -f "$2")
source "$(dirname "$0")/lib.sh" "$B/e2e-output"
export WINEPREFIX=$B/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
WINESERVER=$(dirname "$WINE")/wineserver
cleanup() {
    [ -n "${GAME:-}" ] && kill -9 "$GAME" 2>/dev/null
    "$WINESERVER" -k 2>/dev/null
    [ -n "${XPID:-}" ] && kill "$XPID" 2>/dev/null
}
trap cleanup EXIT

# Made once, then reused: the first start of a prefix takes a while.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the prefix"
fi

# --- the suite, headless: each test in a process of its own, as ctest runs
# them on Linux (the tests share Allegro's and the game's globals) ---
cd "$B/game" || fail "no game build in $B/game"
export DISPLAY=
tests=$("$WINE" tests/fluff_tests.exe --gtest_list_tests 2>/dev/null | tr -d '\r' |
    awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }')
[ -n "$tests" ] || fail "fluff_tests.exe lists no tests under Wine"
: >"$OUT/tests.txt"
passed=0 skipped=0 failed=()
for t in $tests; do
    timeout 300 "$WINE" tests/fluff_tests.exe --gtest_filter="$t" >"$OUT/test.txt" 2>&1
    status=$?
    cat "$OUT/test.txt" >>"$OUT/tests.txt"
    # Wine reports a crash on the terminal and may still end with status 0.
    if [ $status -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$OUT/test.txt" ||
        grep -q -e '^\[  FAILED  \]' -e 'Unhandled' "$OUT/test.txt"; then
        failed+=("$t")
    elif grep -q '^\[  SKIPPED \]' "$OUT/test.txt"; then
        skipped=$((skipped + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "wine: $passed tests passed, $skipped skipped, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ] || fail "under Wine: ${failed[*]} (see $OUT/tests.txt)"
export -n DISPLAY

# --- the command line ---
"$WINE" fluffernauts.exe --version >"$OUT/version.txt" 2>&1 || fail "--version failed"
grep -q '^Fluffernauts v1.0 rc2' "$OUT/version.txt" || fail "--version printed $(cat "$OUT/version.txt")"

# --- every recording, as fast as it goes ---
# Wine's display driver keeps the display its first program saw (none):
# the next programs start a fresh Wine.
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -w 2>/dev/null
start_display
for replay in "$REPLAYS"/*.replay; do
    name=$(basename "$replay" .replay)
    # Wine's sound layer talks on stderr when the machine has no card.
    timeout 300 "$WINE" fluffernauts.exe --timedemo "Z:$replay" >"$OUT/timedemo-$name.txt" \
        2>"$OUT/timedemo-$name.err" ||
        fail "--timedemo $name: status $?"
    tr -d '\r' <"$OUT/timedemo-$name.txt" >"$OUT/timedemo-$name.unix"
    head -1 "$OUT/timedemo-$name.unix"
    grep -q '^Timedemo: [0-9]* frames in [0-9.]* s, [0-9.]* frames per second$' \
        "$OUT/timedemo-$name.unix" || fail "--timedemo $name: no frame rate line"
    tail -n +2 "$OUT/timedemo-$name.unix" | diff - "${replay%.replay}.expected" ||
        fail "--timedemo $name: statistics differ from the recording"
done

# --- a copy in a folder named for a player called Zoë: its data found, a
# recording read from there, its window at the title ---
COPY="$B/e2e-output/Zoë's games/Fluffernauts"
rm -rf "$B/e2e-output/Zoë's games"
mkdir -p "$COPY/data"
cp fluffernauts.exe "$COPY/"
cp data/gfx.dat data/snd.dat data/font.dat data/cm.m data/patches.dat data/icon.rgba "$COPY/data/"
first=$(ls "$REPLAYS"/*.replay | head -1)
cp "$first" "$COPY/Zoë.replay"
(cd "$COPY" && timeout 300 "$WINE" fluffernauts.exe --timedemo "Zoë.replay") \
    >"$OUT/timedemo-zoe.txt" 2>"$OUT/timedemo-zoe.err" || fail "--timedemo from a non-ASCII folder: status $?"
tr -d '\r' <"$OUT/timedemo-zoe.txt" | tail -n +2 | diff - "${first%.replay}.expected" ||
    fail "--timedemo from a non-ASCII folder: statistics differ"

(cd "$COPY" && exec "$WINE" fluffernauts.exe) >"$OUT/window.txt" 2>&1 &
GAME=$!
shown=0
for _ in $(seq 150); do
    sleep 0.2
    if xdotool search --name '^Fluffernauts' >/dev/null 2>&1; then
        shown=1
        break
    fi
done
[ $shown -eq 1 ] || fail "no window named Fluffernauts under Wine ($(cat "$OUT/window.txt"))"
sleep 3 # the title's first frames
shot wine-title
[ -s "$OUT/wine-title.png" ] || fail "no screenshot of the window"
colours=$(convert "$OUT/wine-title.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "the window shows $colours colours: no title picture"
kill -9 "$GAME" 2>/dev/null
wait "$GAME" 2>/dev/null
GAME=
echo "wine: suite, timedemos, non-ASCII folder and the window ($OUT/wine-title.png) all pass"
