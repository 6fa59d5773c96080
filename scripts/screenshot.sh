#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of a game in play: runs the
# real game on a virtual 800x600 screen with a window manager, closes the
# credits box, starts a fresh game, steers the worm for a moment and grabs
# the screen. Every process it starts is stopped again on the way out.
#
# Usage: bash scripts/screenshot.sh [KORVEL_BINARY [OUTPUT_PNG]]
# Without a binary it builds the default preset and shoots build/default/app/korvel.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ge 1 ]; then
    bin=$(realpath "$1")
else
    bash scripts/build.sh
    bin=$PWD/build/default/app/korvel
fi
out=${2:-docs/screenshot.png}

work=$(mktemp -d)
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 130" INT TERM

die() {
    echo "screenshot: $*" >&2
    exit 1
}

# Waits up to five seconds for a command to succeed.
await() {
    local _
    for _ in $(seq 50); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The server picks a free display itself and reports it once it accepts clients.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
await test -s "$work/display" || die "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root -notype _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
await wm_ready ||
    die "openbox did not start: $(cat "$work/openbox.log")"

"$bin" >"$work/korvel.log" 2>&1 &
game=$!
pids+=("$game")

# Visible top-level windows of the game, one id a line.
windows() { xdotool search --onlyvisible --pid "$game" 2>/dev/null || true; }
count() { windows | grep -c . || true; }
count_is() { [ "$(count)" -eq "$1" ]; }

# Gives a window the keyboard. (windowactivate --sync hangs when the window
# is active already, so wait for the result instead.)
is_active() { [ "$(xdotool getactivewindow)" = "$1" ]; }
focus() {
    xdotool windowactivate "$1"
    await is_active "$1" || die "window $1 did not take the focus"
}

# First comes the credits box alone; Return presses its OK button.
await count_is 1 || die "no credits box appeared: $(cat "$work/korvel.log")"
focus "$(windows)"
xdotool key Return

# Then the black backdrop and the game window on top of it.
board_id() { xdotool search --all --onlyvisible --pid "$game" --name 'Корвел' | head -n1; }
has_board() { [ -n "$(board_id)" ]; }
await has_board || die "the game window did not appear: $(cat "$work/korvel.log")"
board=$(board_id)
shown=$(count)

# F1 starts a fresh game, so the worm is known to be at its start (row 9,
# column 7, heading up) and one cell moves every 90 ms from here on. It turns
# right well short of the top wall and up again well short of the right one,
# then left, so that the shot catches it bent.
steer_and_shoot() {
    focus "$board"
    xdotool key F1
    sleep 0.2
    xdotool key Right
    sleep 0.7
    xdotool key Up
    sleep 0.25
    xdotool key Left
    sleep 0.1
    import -window root "$work/shot.png"
}

# A slow machine can let the worm reach a wall; then a game-over notice is
# one window more, and the modal notice has the keyboard. Close it and try
# again rather than publish it.
for attempt in 1 2 3 4; do
    if ! count_is "$shown"; then
        xdotool key Return
        await count_is "$shown" || die "the game-over notice did not close"
    fi
    [ "$attempt" -eq 4 ] && die "the worm hit a wall in every attempt"
    steer_and_shoot
    count_is "$shown" && break
done

mkdir -p "$(dirname "$out")"
mv "$work/shot.png" "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
