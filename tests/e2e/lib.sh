# Shared by the end-to-end scripts: a virtual X display (16-bit 800x600
# unless told otherwise) with a window manager when asked, the game's
# window, screenshots and the process's own CPU time.
#   source lib.sh OUTDIR    (sets OUT; the caller sets BIN)

OUT=$1
mkdir -p "$OUT"
# The game keeps its display settings for the player; a test run must
# neither read nor change the tester's own.
export XDG_CONFIG_HOME=$(mktemp -d)

fail() {
    echo "e2e: FAIL: $*" >&2
    [ -n "${GAME:-}" ] && kill -9 "$GAME" 2>/dev/null
    [ -n "${WMPID:-}" ] && kill "$WMPID" 2>/dev/null
    [ -n "${XPID:-}" ] && kill "$XPID" 2>/dev/null
    exit 1
}

# start_display [WIDTHxHEIGHTxDEPTH]
start_display() {
    local screen=${1:-800x600x16}
    # Xvfb picks a free display itself and names it once it listens, so
    # another server starting or going at the same time cannot be taken
    # for ours. Without -noreset it resets when its last client leaves, and
    # a client arriving meanwhile (the game, right after our check) is
    # turned away.
    rm -f "$OUT/display"
    Xvfb -displayfd 9 -noreset -screen 0 "$screen" -nolisten tcp 9>"$OUT/display" \
        >"$OUT/xvfb.log" 2>&1 &
    XPID=$!
    for _ in $(seq 100); do
        if [ -s "$OUT/display" ]; then
            DISP=":$(head -1 "$OUT/display")"
            export DISPLAY=$DISP
            xdpyinfo >/dev/null 2>&1 && return
        fi
        kill -0 "$XPID" 2>/dev/null || break
        sleep 0.1
    done
    fail "no X display could be started: $(cat "$OUT/xvfb.log")"
}

stop_display() {
    stop_wm
    kill "$XPID" 2>/dev/null
    wait "$XPID" 2>/dev/null
    XPID=""
}

# A window manager: the desktop's full screen needs one to resize the window.
start_wm() {
    openbox --sm-disable >"$OUT/openbox.log" 2>&1 &
    WMPID=$!
    for _ in $(seq 50); do
        # Named before it manages windows: a moment more for that.
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && sleep 0.5 &&
            return
        sleep 0.1
    done
    fail "openbox did not start: $(cat "$OUT/openbox.log")"
}

stop_wm() {
    [ -n "${WMPID:-}" ] || return 0
    kill "$WMPID" 2>/dev/null
    wait "$WMPID" 2>/dev/null
    WMPID=""
}

shot() { import -display "$DISP" -window root "$OUT/$1.png" 2>/dev/null; }

# geometry WINDOW: "X Y WIDTH HEIGHT" of a window's inside, on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^  Width/ {w=$NF} /^  Height/ {h=$NF} END {print x, y, w, h}'
}

# start_game LOG [args...]: runs $BIN in the background as GAME and waits
# for its window, WIN, whose title must be exactly "Fluffernauts".
start_game() {
    local log=$1
    shift
    "$BIN" "$@" >"$log" 2>&1 &
    GAME=$!
    WIN=""
    local name=""
    for _ in $(seq 100); do
        # xdotool matches names ignoring case; the title must be exact.
        WIN=$(xdotool search --name 'Fluffernauts' 2>/dev/null | head -1)
        name=$([ -n "$WIN" ] && xdotool getwindowname "$WIN" 2>/dev/null)
        [ "$name" = "Fluffernauts" ] && break
        kill -0 "$GAME" 2>/dev/null || fail "game exited at start: $(cat "$log")"
        sleep 0.1
    done
    [ -n "$WIN" ] || fail "no game window"
    [ "$name" = "Fluffernauts" ] || fail "window title is '$name'"
    xdotool mousemove 700 20
}

alive() { kill -0 "$GAME" 2>/dev/null || fail "the game exited early: $(cat "$1")"; }

# wait_exit EXPECTED-STATUS WHAT: the game must end within 10 s with it.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$GAME" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME" 2>/dev/null && fail "$2: the game did not end"
    wait "$GAME"
    local status=$?
    [ "$status" -eq "$1" ] || fail "$2: exit status $status, wanted $1"
    GAME=""
}

# A press held as long as a hand would: the game reads input once a frame.
click() { xdotool mousemove "$1" "$2" mousedown 1; sleep 0.15; xdotool mouseup 1; }
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }

# CPU seconds (user + system) the game has used so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME/stat"; }
