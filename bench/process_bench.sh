#!/usr/bin/env bash
# The whole program as a user meets it, on Xvfb with openbox:
#   - start-up: exec to the credits box mapped, and Return on the box to the
#     game window mapped (MapNotify events of the root window, seen by xev);
#   - play: a round of F1 and arrow keys that keeps the worm away from walls
#     and itself, for PLAY_SECONDS: CPU of the game and, apart, of the X
#     server (/proc), the game's wake-ups and its peak resident memory;
#   - a game over with the notice closed: CPU and wake-ups while nothing moves.
# Usage: process_bench.sh [BUILD_DIR]   (default build/default)
# Environment: STARTS (11), PLAY_SECONDS (60), IDLE_SECONDS (25).
set -euo pipefail
game=$(realpath "${1:-$(dirname "$0")/../build/default}")/app/korvel
starts=${STARTS:-11} play_seconds=${PLAY_SECONDS:-60} idle_seconds=${IDLE_SECONDS:-25}
source "$(dirname "$0")/../scripts/xsession.sh"
[ -x "$game" ] || xs_fail "$game is not built"

xs_start
xvfb=${XS_PIDS[0]}
now_ms() { perl -MTime::HiRes=time -e 'printf "%.1f\n", time * 1000'; }
xs_spawn stdbuf -oL xev -root -event substructure > >(perl -MTime::HiRes=time -ne \
    '$| = 1; printf "%.1f\n", time * 1000 if /^MapNotify/' >"$XS_WORK/maps")
sleep 0.5
# map_after T N: the time of the Nth window mapped after T, in ms after T.
map_after() {
    xs_wait 10 "$2 windows mapped" sh -c "[ \$(awk '\$1 > $1' '$XS_WORK/maps' | wc -l) -ge $2 ]"
    awk -v t="$1" -v n="$2" '$1 > t && ++k == n { print $1 - t }' "$XS_WORK/maps"
}
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
wakeups() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
percent() { awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f\n", 100 * t / hz / s }'; }
stats() {
    sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.2f [%.2f, %.2f] (n=%d)\n", m, v[1], v[NR], NR }'
}
# start: the game up to its game window, timed; sets GAME.
start() {
    local t0
    t0=$(now_ms)
    xs_game "$game"
    map_after "$t0" 1 >>"$XS_WORK/first"
    xs_activate "$(xs_window "О программе")"
    t0=$(now_ms)
    xdotool key Return
    map_after "$t0" 2 >>"$XS_WORK/game_window" # the backdrop, then the game window
    xs_wait 5 "the game window" xs_shown 'Игра "Корвел"'
    GAME=$(xs_window 'Игра "Корвел"')
}
stop() { kill "$GAME_PID" && wait "$GAME_PID" 2>/dev/null || true; }

for _ in $(seq "$starts"); do
    start
    stop
done

start
# Up 6 cells, right 6, down 6, left 5, and F1 again before the worm meets its start.
round=(key F1 sleep 0.585 key Right sleep 0.540 key Down sleep 0.540 key Left sleep 0.450)
keys=()
for _ in $(seq $((play_seconds * 1000 / 2115 + 2))); do keys+=("${round[@]}"); done
xs_activate "$GAME"
xdotool "${keys[@]}" &
player=$!
sleep 1
g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$xvfb") w0=$(wakeups "$GAME_PID")
sleep "$play_seconds"
g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$xvfb") w1=$(wakeups "$GAME_PID")
kill "$player"
! xs_shown Korvel || xs_fail "a game ended during play"
peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$GAME_PID/status")
# Untouched after F1, the worm crawls into the wall; then nothing moves.
xs_activate "$GAME"
xdotool key F1
xs_wait 5 "the game-over notice" xs_shown Korvel
xs_activate "$(xs_window Korvel)"
xdotool key Return
sleep 2
i0=$(cpu_ticks "$GAME_PID") v0=$(wakeups "$GAME_PID")
sleep "$idle_seconds"
i1=$(cpu_ticks "$GAME_PID") v1=$(wakeups "$GAME_PID")

echo "process_bench.sh: $(nproc) cores, Qt $(pkg-config --modversion Qt6Core), median [min, max]"
echo "  exec to credits box mapped (ms):       $(stats <"$XS_WORK/first")"
echo "  Return to game window mapped (ms):     $(stats <"$XS_WORK/game_window")"
echo "  playing: game CPU (% of one core):     $(percent $((g1 - g0)) "$play_seconds")"
echo "  playing: X server CPU (% of one core): $(percent $((x1 - x0)) "$play_seconds")"
echo "  playing: wake-ups per second:          $(awk -v n=$((w1 - w0)) -v s="$play_seconds" 'BEGIN { printf "%.1f", n / s }')"
echo "  playing: peak resident memory (MB):    $peak"
echo "  game over: CPU (% of one core):        $(percent $((i1 - i0)) "$idle_seconds")"
echo "  game over: wake-ups:                   $((v1 - v0)) in ${idle_seconds}s"
