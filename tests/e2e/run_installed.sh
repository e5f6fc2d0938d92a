#!/bin/bash
# An installed copy, as a player on a desktop would have it: installed into
# a prefix that the player cannot write to, started by its menu entry's
# command from another folder with an empty home folder, one whole game
# played to its end, the table saved under that home, and the window closed
# by its close button.
#   run_installed.sh BUILD_DIR path/to/wm_delete OUTDIR
set -u
BUILD=$(readlink -f "$1")
WM_DELETE=$(readlink -f "$2")
source "$(dirname "$0")/lib.sh" "$3"
TMP=$(mktemp -d)
chmod 755 "$TMP"
trap 'chmod -R u+w "$TMP"; rm -rf "$TMP"' EXIT
P=$TMP/prefix
cmake --install "$BUILD" --prefix "$P" >"$OUT/install.log" 2>&1 || fail "cmake --install failed"
chmod -R a-w "$P"
mkdir -p "$TMP/home" "$TMP/elsewhere"
touch "$TMP/marker"

# Root writes wherever it likes; the player is somebody else.
RUN_AS=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$TMP/home" "$TMP/elsewhere"
    RUN_AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
EXEC=$(sed -n 's/^Exec=//p' "$P"/share/applications/*.desktop)
[ -n "$EXEC" ] || fail "the menu entry has no Exec line"
BIN=$TMP/start.sh
printf '#!/bin/sh\ncd "%s" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="%s" %s %s\n' \
    "$TMP/elsewhere" "$TMP/home" "${RUN_AS[*]}" "$EXEC" >"$BIN"
chmod 755 "$BIN"

start_display
start_game "$OUT/installed.log"
sleep 3.5
xdotool key space
sleep 0.5
xdotool key Return # Play
sleep 1
xdotool mousemove 400 3 # empty sky, away from the scroll edges

# The game runs to its own end (time or life, within 90 s of clock); then
# a key every two seconds ends the game-over picture, the statistics and
# the score line, after which the table is saved.
TABLE=$TMP/home/.local/share/fluffernauts/hiscore.dat
for _ in $(seq 70); do
    sleep 2
    alive "$OUT/installed.log"
    [ -e "$TABLE" ] && break
    xdotool key space
done
[ -e "$TABLE" ] || fail "no table under the player's home after a whole game"
sleep 0.5
shot installed_menu_after_game
[ "$(stat -c %s "$TABLE")" -eq 130 ] || fail "the table is not 130 bytes"
[ "$(stat -c %a "$(dirname "$TABLE")")" = 700 ] || fail "the score folder is not the player's own"

"$WM_DELETE" "$WIN" || fail "could not send WM_DELETE_WINDOW"
wait_exit 0 "the close button"
stop_display
[ -s "$OUT/installed.log" ] && fail "the game wrote to the terminal: $(cat "$OUT/installed.log")"
written=$(find "$P" "$TMP/elsewhere" -newer "$TMP/marker" | head -3)
[ -z "$written" ] || fail "the game wrote outside the player's data folder: $written"
echo "e2e: an installed copy played a whole game, saved its table under HOME and closed with status 0"
