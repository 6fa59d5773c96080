#!/usr/bin/env bash
# The whole program as a user meets it, on a virtual X display (Xvfb) with
# openbox as window manager:
#   - start-up: from exec to the credits box being mapped, and from Return on
#     the box to the game window being mapped;
#   - a minute of play (a fixed round of F1 and arrow keys that keeps the worm
#     away from walls and itself): CPU use of the game and, apart, of the X
#     server, and the game's peak resident memory (VmHWM);
#   - a game over with the notice closed: CPU use and wake-ups, which should
#     both be nil since the timer stands still.
# An empty Qt Widgets program (a message box, then an empty window) goes
# through the same steps, for Qt's own floor; for the floor of play, the same
# program repaints three cell-sized squares every 90 ms.
#
# Usage: process_bench.sh [BUILD_DIR]   (default build/default)
# Environment: STARTS (start-up runs per program, 11), PLAYS (play runs, 3),
# PLAY_SECONDS (60), IDLE_SECONDS (25).
set -euo pipefail

build=${1:-$(dirname "$0")/../build/default}
game=$build/app/korvel
empty=$build/bench/korvel_empty_window
watch=$build/bench/korvel_map_watch
starts=${STARTS:-11}
plays=${PLAYS:-3}
play_seconds=${PLAY_SECONDS:-60}
idle_seconds=${IDLE_SECONDS:-25}
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "process_bench.sh: $tool is missing; scripts/deps.sh installs it" >&2; exit 1; }
done
for program in "$game" "$empty" "$watch"; do
    [ -x "$program" ] || { echo "process_bench.sh: $program is not built" >&2; exit 1; }
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

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
pids+=("$xvfb")
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
HOME=$work XDG_CONFIG_HOME=$work/config openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.05; done
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb

ticks=$(getconf CLK_TCK)
# cpu_ticks PID: user + system time so far, in clock ticks.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
# wakeups PID: context switches so far, voluntary and forced, of all threads.
wakeups() {
    cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'
}
peak_kb() { awk '/VmHWM/ { print $2 }' "/proc/$1/status"; }
# stats: "median [min, max]" of the numbers on stdin.
stats() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "n/a"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.2f [%.2f, %.2f] (n=%d)", m, v[1], v[NR], NR }'
}
# percent TICKS SECONDS: CPU ticks over that time, as % of one core.
percent() { awk -v t="$1" -v s="$2" -v hz="$ticks" 'BEGIN { printf "%.4f\n", 100 * t / hz / s }'; }
per_second() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.2f\n", n / s }'; }
# stop PID: ends it and waits until it is gone (a zombie that nobody reaps
# counts as gone).
stop() {
    kill "$1" 2>/dev/null || true
    while [ -n "$(ps -o stat= -p "$1" | grep -v Z || true)" ]; do sleep 0.02; done
}

# start PROGRAM WINDOWS [ARGS...]: starts it under the map watcher, closes the first
# box with Return, and waits for WINDOWS windows. Sets PID, FIRST_MS (exec
# to the first window) and NEXT_MS (from starting xdotool to send Return to
# the last window; xdotool's own start-up is part of it).
start() {
    "$watch" --windows "$2" --timeout 20 --prepare 'xdotool windowactivate --sync %w' \
        --then 'xdotool key --delay 0 Return' \
        -- "$1" "${@:3}" >"$work/watch.out" 2>"$work/program.log" </dev/null
    PID=$(awk '/^pid/ { print $2 }' "$work/watch.out")
    pids+=("$PID")
    FIRST_MS=$(awk '/^map/ { print $2; exit }' "$work/watch.out")
    NEXT_MS=$(awk '/^then/ { t = $2 } /^map/ { last = $2 } END { print last - t }' "$work/watch.out")
    XDO_MS=$(awk '/^then/ { print $3 - $2 }' "$work/watch.out")
    [ "$(grep -c '^map' "$work/watch.out")" -eq "$2" ] || {
        echo "process_bench.sh: $1 did not show $2 windows:" >&2
        cat "$work/watch.out" "$work/program.log" >&2
        exit 1
    }
}

# Closes any game-over notice that opens, until killed. It looks once a
# second: each look costs the X server a little work.
answer_notices() {
    while true; do
        for id in $(xdotool search --onlyvisible --name '^Korvel$' 2>/dev/null || true); do
            echo notice >>"$work/notices"
            xdotool windowactivate --sync "$id" key Return 2>/dev/null || true
        done
        sleep 1
    done
}

# One round of keys, 2.115 s: F1 restarts the game and its timer, so the turns
# fall midway between ticks. Up 6 cells, right 6, down 6, left 5, then F1
# again before the worm could reach its own start.
round=(key --delay 0 F1 sleep 0.585 key --delay 0 Right sleep 0.540 key --delay 0 Down
    sleep 0.540 key --delay 0 Left sleep 0.450)

echo "process_bench.sh: $(nproc) cores, Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?'), $starts start-ups and $plays plays of ${play_seconds}s"

: >"$work/game_first" >"$work/game_next" >"$work/empty_first" >"$work/empty_next" >"$work/xdotool"
for _ in $(seq "$starts"); do
    start "$game" 3
    echo "$FIRST_MS" >>"$work/game_first"
    echo "$NEXT_MS" >>"$work/game_next"
    echo "$XDO_MS" >>"$work/xdotool"
    stop "$PID"
    start "$empty" 2
    echo "$FIRST_MS" >>"$work/empty_first"
    echo "$NEXT_MS" >>"$work/empty_next"
    stop "$PID"
done

: >"$work/game_cpu" >"$work/xvfb_cpu" >"$work/game_wakeups" >"$work/game_peak"
: >"$work/over_cpu" >"$work/over_wakeups" >"$work/empty_cpu" >"$work/empty_wakeups"
: >"$work/empty_peak" >"$work/notices" >"$work/play_notices"
: >"$work/ticking_cpu" >"$work/ticking_xvfb" >"$work/ticking_wakeups"
for _ in $(seq "$plays"); do
    start "$game" 3
    window=$(xdotool search --name '^Игра "Корвел"$' | head -n1)
    xdotool windowactivate --sync "$window"
    answer_notices &
    answerer=$!
    keys=()
    for _ in $(seq $((play_seconds * 1000 / 2115 + 2))); do keys+=("${round[@]}"); done
    xdotool "${keys[@]}" &
    player=$!
    sleep 1
    game0=$(cpu_ticks "$PID") xvfb0=$(cpu_ticks "$xvfb") wake0=$(wakeups "$PID")
    sleep "$play_seconds"
    game1=$(cpu_ticks "$PID") xvfb1=$(cpu_ticks "$xvfb") wake1=$(wakeups "$PID")
    percent $((game1 - game0)) "$play_seconds" >>"$work/game_cpu"
    percent $((xvfb1 - xvfb0)) "$play_seconds" >>"$work/xvfb_cpu"
    per_second $((wake1 - wake0)) "$play_seconds" >>"$work/game_wakeups"
    peak_kb "$PID" | awk '{ print $1 / 1024 }' >>"$work/game_peak"
    stop "$player"
    cat "$work/notices" >>"$work/play_notices"
    : >"$work/notices"

    # Untouched after F1, the worm crawls up into the wall: the notice opens
    # and the answerer closes it; then the timer stands still. The answerer
    # stops too, so that nothing but the game itself could wake it.
    xdotool windowactivate --sync "$window" key --delay 0 F1
    until [ -s "$work/notices" ]; do sleep 0.1; done
    sleep 1
    stop "$answerer"
    [ -z "$(xdotool search --onlyvisible --name '^Korvel$' 2>/dev/null)" ] ||
        { echo "process_bench.sh: the notice is still open" >&2; exit 1; }
    : >"$work/notices"
    sleep 2
    over0=$(cpu_ticks "$PID") wake0=$(wakeups "$PID")
    sleep "$idle_seconds"
    over1=$(cpu_ticks "$PID") wake1=$(wakeups "$PID")
    percent $((over1 - over0)) "$idle_seconds" >>"$work/over_cpu"
    per_second $((wake1 - wake0)) "$idle_seconds" >>"$work/over_wakeups"
    stop "$PID"

    start "$empty" 2
    sleep 3
    empty0=$(cpu_ticks "$PID") wake0=$(wakeups "$PID")
    sleep "$idle_seconds"
    empty1=$(cpu_ticks "$PID") wake1=$(wakeups "$PID")
    percent $((empty1 - empty0)) "$idle_seconds" >>"$work/empty_cpu"
    per_second $((wake1 - wake0)) "$idle_seconds" >>"$work/empty_wakeups"
    peak_kb "$PID" | awk '{ print $1 / 1024 }' >>"$work/empty_peak"
    stop "$PID"

    # The game sends its pixels through the socket (QT_XCB_NO_MITSHM); so
    # does this program here.
    QT_XCB_NO_MITSHM=1 start "$empty" 2 --tick
    sleep 1
    tick0=$(cpu_ticks "$PID") xvfb0=$(cpu_ticks "$xvfb") wake0=$(wakeups "$PID")
    sleep "$play_seconds"
    tick1=$(cpu_ticks "$PID") xvfb1=$(cpu_ticks "$xvfb") wake1=$(wakeups "$PID")
    percent $((tick1 - tick0)) "$play_seconds" >>"$work/ticking_cpu"
    percent $((xvfb1 - xvfb0)) "$play_seconds" >>"$work/ticking_xvfb"
    per_second $((wake1 - wake0)) "$play_seconds" >>"$work/ticking_wakeups"
    stop "$PID"
done

echo "median [min, max]:"
echo "  start-up, exec to credits box mapped (ms):      $(stats <"$work/game_first")"
echo "  start-up, Return to game window mapped (ms):    $(stats <"$work/game_next")"
echo "  (of which xdotool sending Return (ms):          $(stats <"$work/xdotool"))"
echo "  empty Qt program, exec to box mapped (ms):      $(stats <"$work/empty_first")"
echo "  empty Qt program, Return to window mapped (ms): $(stats <"$work/empty_next")"
echo "  playing: game CPU (% of one core):              $(stats <"$work/game_cpu")"
echo "  playing: X server CPU (% of one core):          $(stats <"$work/xvfb_cpu")"
echo "  playing: game wake-ups per second:              $(stats <"$work/game_wakeups")"
echo "  playing: game peak resident memory (MB):        $(stats <"$work/game_peak")"
echo "  game over: game CPU (% of one core):            $(stats <"$work/over_cpu")"
echo "  game over: game wake-ups per second:            $(stats <"$work/over_wakeups")"
echo "  empty Qt window idle: CPU (% of one core):      $(stats <"$work/empty_cpu")"
echo "  empty Qt window idle: wake-ups per second:      $(stats <"$work/empty_wakeups")"
echo "  empty Qt window: peak resident memory (MB):     $(stats <"$work/empty_peak")"
echo "  empty Qt window ticking: CPU (% of one core):   $(stats <"$work/ticking_cpu")"
echo "  empty Qt window ticking: X server CPU (%):      $(stats <"$work/ticking_xvfb")"
echo "  empty Qt window ticking: wake-ups per second:   $(stats <"$work/ticking_wakeups")"
echo "  game-over notices during play (should be 0):    $(wc -l <"$work/play_notices")"
