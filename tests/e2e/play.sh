#!/usr/bin/env bash
# Plays the real program as a user would, on a virtual X display with openbox
# as window manager, driving it with xdotool: the credits box comes first and
# alone, Enter closes it, the game window opens over the black backdrop, the
# worm runs into the wall, a click on the backdrop changes nothing, F1 and an
# arrow key start a new game steered left, and Alt+F4 ends the process with
# status 0 within a second.
#
# Usage: play.sh path/to/korvel. KORVEL_E2E_SHOTS=dir keeps the screenshots.
set -euo pipefail

korvel=${1:?usage: play.sh path/to/korvel}
for tool in Xvfb openbox xdotool xprop xwininfo import convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "play.sh: $tool is missing; scripts/deps.sh installs it" >&2
        exit 1
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "play.sh: FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && import -window root "$work/failure.png" 2>/dev/null; then
        cp "$work/failure.png" "${KORVEL_E2E_SHOTS:-.}/korvel-e2e-failure.png" || true
        echo "play.sh: screen at the failure: ${KORVEL_E2E_SHOTS:-.}/korvel-e2e-failure.png" >&2
    fi
    [ -f "$work/korvel.log" ] && sed 's/^/korvel: /' "$work/korvel.log" >&2
    exit 1
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds}s for $what"
        sleep 0.05
    done
}

# The visible windows of the game, one "id<TAB>title" a line.
windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null || true); do
        printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null || true)"
    done
}
window_titled() { windows | awk -F'\t' -v t="$1" '$2 == t { print $1; exit }'; }
is_shown() { [ -n "$(window_titled "$1")" ]; }
is_gone() { [ -z "$(window_titled "$1")" ]; }

# geometry ID: sets X, Y (absolute, of the client area), WIDTH and HEIGHT.
geometry() {
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
}

shot=0
screenshot() {
    shot=$((shot + 1))
    import -window root "$work/shot.png"
    if [ -n "${KORVEL_E2E_SHOTS:-}" ]; then
        cp "$work/shot.png" "$KORVEL_E2E_SHOTS/korvel-e2e-$shot-$1.png"
    fi
}
# cell_colour ROW COL: the colour at the centre of that cell in the last shot.
cell_colour() {
    convert "$work/shot.png" -format "%[hex:u.p{$((board_x + ($2 - 1) * 24 + 12)),$((board_y + ($1 - 1) * 24 + 12))}]" info:
}
expect_cell() {
    local colour
    colour=$(cell_colour "$1" "$2")
    [ "$colour" = "$3" ] || fail "cell ($1, $2) is #$colour, expected #$3 ($4)"
}

# A display of its own, on whatever number is free.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 "Xvfb to start" test -s "$work/display"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

HOME=$work XDG_CONFIG_HOME=$work/config openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 "openbox to manage the screen" \
    sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

mkdir -m 700 "$work/run"
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/run "$korvel" >"$work/korvel.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")

# 1. The credits box is the first and only thing the program shows.
wait_for 10 "the credits box" is_shown "О программе"
[ "$(windows | wc -l)" -eq 1 ] || fail "more than the credits box is shown: $(windows)"
screenshot credits
xdotool windowactivate --sync "$(window_titled "О программе")"
xdotool key Return
wait_for 5 "the credits box to close" is_gone "О программе"

# 2. The game window over the black backdrop.
caption='Игра "Корвел"'
wait_for 10 "the game window" is_shown "$caption"
game=$(window_titled "$caption")
geometry "$game"
[ "$WIDTH" -eq 577 ] || fail "the game window is $WIDTH wide, not 577"
if [ "$HEIGHT" -le 242 ] || [ "$HEIGHT" -ge 300 ]; then
    fail "the game window is $HEIGHT high: not a menu bar over 242 pixels"
fi
board_x=$X
board_y=$((Y + HEIGHT - 242))

backdrop=$(window_titled Form1)
[ -n "$backdrop" ] || fail "no backdrop window: $(windows)"
geometry "$backdrop"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "0,0 1024x768" ] ||
    fail "the backdrop covers ${WIDTH}x$HEIGHT at $X,$Y, not the whole 1024x768 screen"
xprop -id "$backdrop" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    fail "the backdrop would get a taskbar button"
if xprop -id "$game" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; then
    fail "the game window would get no taskbar button"
fi
screenshot game
[ "$(convert "$work/shot.png" -format '%[hex:u.p{5,5}]' info:)" = 000000 ] ||
    fail "the backdrop is not black"

# 3. Untouched, the worm crawls up into the wall: the notice opens over it.
wait_for 5 "the first game-over notice" is_shown Korvel
screenshot wall-up
expect_cell 1 7 C0C0C0 "the head at the top wall"
xdotool windowactivate --sync "$(window_titled Korvel)"
xdotool key Return
wait_for 5 "the notice to close" is_gone Korvel

# 4. A click on the black backdrop changes nothing: the game keeps the
#    keyboard, so F1 starts a new game and Left turns it before its first
#    move; this time the worm runs along row 9 into the left wall.
game_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$game" ]; }
wait_for 5 "the game window to get the keyboard back" game_is_active
xdotool mousemove 20 740 click 1
sleep 0.3
game_is_active || fail "a click on the backdrop took the keyboard from the game"
xdotool key F1 Left
wait_for 5 "the second game-over notice" is_shown Korvel
screenshot wall-left
expect_cell 9 1 C0C0C0 "the head at the left wall"
expect_cell 1 7 FFFFFF "the old worm is gone"
xdotool windowactivate --sync "$(window_titled Korvel)"
xdotool key Escape
wait_for 5 "the notice to close" is_gone Korvel

# 5. Alt+F4 ends the program at once.
xdotool windowactivate --sync "$game"
start=$(date +%s%N)
xdotool key alt+F4
while [ -n "$(ps -o stat= -p "$game_pid" | grep -v Z || true)" ]; do
    [ $(($(date +%s%N) - start)) -lt 1000000000 ] || fail "still running 1 s after Alt+F4"
    sleep 0.01
done
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
status=0
wait "$game_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after Alt+F4"
[ -z "$(windows)" ] || fail "windows left after the end: $(windows)"
echo "play.sh: passed; the program ended ${elapsed_ms} ms after Alt+F4"
