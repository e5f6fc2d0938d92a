#!/bin/bash
# Files that are not the game's stay untouched, and a score that cannot be
# kept is said. Four copies of the game, each on a display of its own, play
# a game to its end at the same time:
#   files    a copy in a folder of its own, with a HOME that holds a
#            ~/.allegrorc: nothing new beside the program but the table,
#            the ~/.allegrorc unchanged byte for byte;
#   readonly the table in a folder the player cannot write to;
#   fsize    a file-size limit of 0 (ulimit -f 0);
#   nohome   an installed copy started without HOME and XDG_DATA_HOME.
# Each ends with status 0 by the menu's Quit.
#   run_unsaved.sh path/to/fluffernauts BUILD_DIR OUTDIR
set -u
GAMEBIN=$(readlink -f "$1")
BUILD=$(readlink -f "$2")
source "$(dirname "$0")/lib.sh" "$3"
BASE=$(readlink -f "$OUT")
TMP=$(mktemp -d)
chmod 755 "$TMP"
trap 'chmod -R u+w "$TMP"; rm -rf "$TMP"' EXIT
NOTSAVED='^Fluffernauts: the score is not saved: '

copy_game() {
    mkdir -p "$1" && cp "$GAMEBIN" "$1/" && cp -r "$(dirname "$GAMEBIN")/data" "$1/data" &&
        rm -f "$1/data/hiscore.dat" "$1/data/hiscore.lock" || fail "no copy of the game in $1"
}
# Ten rows of -1000 in the table's layout: any game beats them.
low_table() {
    for _ in $(seq 10); do printf '\x18\xfc\xff\xffLow\0\0\0\0\0\0'; done >"$1"
}
# A starter script: BIN, run by start_game, becomes the game itself.
starter() {
    BIN=$OUT/start.sh
    printf '#!/bin/sh\n%s\n' "$1" >"$BIN"
    chmod 755 "$BIN"
}
logo() { convert "$1" -crop 260x50+270+95 +repage "$2"; }
at_menu() {
    shot now
    logo "$OUT/now.png" "$OUT/logo-now.png"
    compare -metric AE "$OUT/logo-menu.png" "$OUT/logo-now.png" null: 2>/dev/null
}

# play NAME TEST...: starts BIN on a display of its own, plays one game to
# its end (Return every 2 s until TEST holds), then quits by the menu.
play() {
    local name=$1
    shift
    start_display
    start_game "$OUT/game.log"
    sleep 3.5
    xdotool key space
    sleep 1
    shot menu
    logo "$OUT/menu.png" "$OUT/logo-menu.png"
    xdotool key Return # Play
    sleep 1
    xdotool mousemove 400 3 # empty sky, away from the scroll edges
    for _ in $(seq 70); do
        sleep 2
        alive "$OUT/game.log"
        "$@" && break
        xdotool key Return
    done
    "$@" || fail "$name: the game did not come to its end"
    sleep 0.5
    shot end
    if grep -q "$NOTSAVED" "${LOG:-$OUT/game.log}"; then
        xdotool key Return # the line is read
        sleep 1
    fi
    xdotool key Up
    sleep 0.3
    xdotool key Return
    wait_exit 0 "$name: the menu's Quit"
    stop_display
}

case_files() {
    local c=$TMP/files
    copy_game "$c"
    mkdir -p "$c/home"
    printf '[sound]\ndigi_card = ALSA\n# the player'"'"'s own\n' >"$c/home/.allegrorc"
    cp "$c/home/.allegrorc" "$TMP/allegrorc"
    (cd "$c" && find . | sort) >"$OUT/before.txt"
    starter "cd '$c' && HOME='$c/home' exec ./fluffernauts"
    play files test -e "$c/data/hiscore.dat"
    (cd "$c" && find . | sort) >"$OUT/after.txt"
    added=$(comm -13 "$OUT/before.txt" "$OUT/after.txt" | tr '\n' ' ')
    [ "$added" = "./data/hiscore.dat ./data/hiscore.lock " ] ||
        fail "files: new files beside the program: $added"
    cmp -s "$c/home/.allegrorc" "$TMP/allegrorc" || fail "files: ~/.allegrorc was changed"
    [ -s "$OUT/game.log" ] && fail "files: the game wrote to the terminal: $(cat "$OUT/game.log")"
    echo "e2e: files: a game leaves nothing beside the program but its table; ~/.allegrorc kept"
}

# said_once NAME PATTERN [others]: the game's one line on stderr matches
# PATTERN; with "others", lines of the libraries may stand beside it (an
# audio client's own complaint about the file-size limit).
said_once() {
    local lines=$(wc -l <"$OUT/game.log") ours=$(grep -c "$2" "$OUT/game.log")
    [ "$ours" -eq 1 ] && { [ "$lines" -eq 1 ] || [ "${3:-}" = others ]; } ||
        fail "$1: stderr was '$(cat "$OUT/game.log")'"
}

case_readonly() {
    local c=$TMP/readonly
    copy_game "$c"
    low_table "$c/data/hiscore.dat"
    mkdir -p "$c/home"
    # Root writes wherever it likes; the player is somebody else.
    local as=""
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody "$c/home"
        as="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
    else
        chmod a-w "$c/data"
    fi
    touch "$TMP/readonly.marker"
    starter "cd '$c/home' && HOME='$c/home' exec env -u XDG_CONFIG_HOME $as '$c/fluffernauts'"
    play readonly grep -q "$NOTSAVED" "$OUT/game.log"
    said_once readonly "${NOTSAVED}cannot write in $c/data: Permission denied$"
    cmp -s "$c/data/hiscore.dat" <(low_table /dev/stdout) || fail "readonly: the table changed"
    written=$(find "$c/data" -newer "$TMP/readonly.marker")
    [ -z "$written" ] || fail "readonly: files written: $written"
    echo "e2e: readonly: the unsaved score is said, status 0, nothing written"
}

case_fsize() {
    local c=$TMP/fsize
    copy_game "$c"
    low_table "$c/data/hiscore.dat"
    mkdir -p "$c/home"
    # Past the limit a write to the log fails too: the game writes to a pipe.
    mkfifo "$OUT/pipe"
    cat "$OUT/pipe" >"$OUT/stderr.log" &
    trap "kill $! 2>/dev/null" EXIT # when the game never opened it
    starter "ulimit -f 0; cd '$c' && HOME='$c/home' exec ./fluffernauts >'$OUT/pipe' 2>&1"
    LOG=$OUT/stderr.log
    play fsize grep -q "$NOTSAVED" "$OUT/stderr.log"
    wait
    cp "$OUT/stderr.log" "$OUT/game.log"
    said_once fsize "${NOTSAVED}cannot write $c/data/hiscore.dat: File too large$" others
    cmp -s "$c/data/hiscore.dat" <(low_table /dev/stdout) || fail "fsize: the table changed"
    [ "$(ls "$c/data" | grep -c hiscore.dat)" -eq 1 ] || fail "fsize: a temporary table was left"
    echo "e2e: fsize: a file-size limit does not kill the game; the unsaved score is said"
}

case_nohome() {
    local p=$TMP/prefix
    cmake --install "$BUILD" --prefix "$p" >"$OUT/install.log" 2>&1 || fail "cmake --install failed"
    mkdir -p "$TMP/elsewhere"
    touch "$TMP/nohome.marker"
    starter "cd '$TMP/elsewhere' && exec env -i DISPLAY=\$DISPLAY PATH=/usr/bin:/bin \
XDG_CONFIG_HOME='$TMP/elsewhere/config' SDL_AUDIODRIVER=dummy '$p/games/fluffernauts'"
    play nohome at_menu
    said_once nohome '^Fluffernauts: neither HOME nor XDG_DATA_HOME is set; high scores are kept only until the game ends\.$'
    written=$(find "$p" "$TMP/elsewhere" -newer "$TMP/nohome.marker" | grep -v "^$TMP/elsewhere$")
    [ -z "$written" ] || fail "nohome: files written: $written"
    echo "e2e: nohome: scores kept in memory, said once, nothing written into the installation"
}

pids=()
for c in ${CASES:-files readonly fsize nohome}; do
    (
        OUT=$BASE/$c
        rm -rf "$OUT"
        mkdir -p "$OUT"
        "case_$c"
    ) &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
[ $status -eq 0 ] || fail "a case failed (see above; screenshots in $BASE)"
echo "e2e: the unsaved score, the file-size limit, no HOME and a copy's own files passed"
