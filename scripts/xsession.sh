# A private desktop for driving the real program as a user would: a display
# of its own (Xvfb with openbox, or headless weston with XWayland), the
# program started on it, its windows found by title, keys and clicks sent with
# xdotool. Everything started here is stopped again when the shell exits.
# Sourced by the end-to-end tests, scripts/screenshot.sh and the benchmark.
#
#   xs_start [WxH [WM_ARGS...]]       Xvfb (1024x768 unless given) and the window manager
#                                     $XS_WM (openbox unless set), on the
#                                     next free display from :$XS_FIRST_DISPLAY (140)
#   xs_start_weston                   headless weston with XWayland
#   xs_spawn CMD...                   runs CMD in the background, stopped on exit
#   xs_game CMD...                    starts the game; GAME_PID, log in $XS_WORK/korvel.log
#   xs_wait SECONDS WHAT CMD...       polls CMD until it succeeds, else fails
#   xs_windows                        the game's visible windows, "id<TAB>title" a line
#   xs_window TITLE                   the id of the game's visible window with that title
#   xs_shown TITLE                    whether the game shows a window with that title
#   xs_activate ID                    gives that window the keyboard
#   xs_shot NAME                      screenshot to $XS_WORK/NAME.png, kept in $KORVEL_SHOTS if set
#   xs_fail MESSAGE                   reports a failure with a screenshot and the game's log

XS_WORK=$(mktemp -d)
XS_PIDS=()

xs_cleanup() {
    local i
    # Some window managers (fluxbox) now and then never finish shutting down:
    # whatever is still running 2 s after being asked to end is killed.
    for ((i = ${#XS_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${XS_PIDS[i]}" 2>/dev/null || true
        for ((t = 0; t < 100; t++)); do
            kill -0 "${XS_PIDS[i]}" 2>/dev/null || break
            sleep 0.02
        done
        kill -9 "${XS_PIDS[i]}" 2>/dev/null || true
        wait "${XS_PIDS[i]}" 2>/dev/null || true
    done
    rm -rf "$XS_WORK"
}
trap xs_cleanup EXIT
trap 'exit 130' INT TERM

xs_fail() {
    echo "${0##*/}: FAIL: $*" >&2
    local shot
    shot=$(realpath -m "${KORVEL_SHOTS:-.}/korvel-failure.png")
    if [ -n "${DISPLAY:-}" ] && import -window root "$XS_WORK/failure.png" 2>/dev/null &&
        cp "$XS_WORK/failure.png" "$shot" 2>/dev/null; then
        echo "${0##*/}: the screen at the failure: $shot" >&2
    fi
    [ -s "$XS_WORK/korvel.log" ] && sed 's/^/korvel: /' "$XS_WORK/korvel.log" >&2
    exit 1
}

for tool in Xvfb openbox xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null || xs_fail "$tool is missing; scripts/deps.sh test installs it"
done

xs_wait() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((${EPOCHREALTIME//[!0-9]/} + seconds * 1000000))
    until "$@" >/dev/null 2>&1; do
        [ "${EPOCHREALTIME//[!0-9]/}" -lt "$deadline" ] ||
            xs_fail "waited ${seconds}s for $what; windows: $(xs_windows | tr '\t\n' ' |'), active: $(xdotool getactivewindow 2>&1)"
        sleep 0.05
    done
}

# The child drops this shell's traps before it becomes CMD: killed before
# that, it would otherwise run the clean-up of the whole session.
xs_spawn() {
    (
        trap - EXIT INT TERM
        exec "$@"
    ) &
    XS_PIDS+=($!)
}

xs_runtime_dir() {
    export XDG_RUNTIME_DIR=$XS_WORK/run
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

# Displays :XS_FIRST_DISPLAY and up are the tests' own, away from the low
# numbers that real X servers take; each session takes the next free one.
XS_FIRST_DISPLAY=${XS_FIRST_DISPLAY:-140}

xs_start() {
    local size=${1:-1024x768} n pid
    shift || true
    # -noreset: otherwise the server resets whenever its last client leaves,
    # and refuses whoever connects during the reset (openbox, the game).
    for ((n = XS_FIRST_DISPLAY; n < XS_FIRST_DISPLAY + 60; n++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        rm -f "$XS_WORK/display"
        # The server says its number once it accepts clients; if another one
        # took that number first, it exits and the next number is tried.
        xs_spawn Xvfb ":$n" -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp \
            3>"$XS_WORK/display" 2>"$XS_WORK/xvfb.log"
        pid=${XS_PIDS[-1]}
        while [ ! -s "$XS_WORK/display" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
        [ -s "$XS_WORK/display" ] && break
    done
    [ -s "$XS_WORK/display" ] || xs_fail "no free display from :$XS_FIRST_DISPLAY on: $(cat "$XS_WORK/xvfb.log")"
    export DISPLAY=:$(head -n1 "$XS_WORK/display")
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    xs_runtime_dir
    # In a UTF-8 locale, as in a player's session: icewm draws no title with
    # letters outside ASCII in the C locale.
    HOME=$XS_WORK XDG_CONFIG_HOME=$XS_WORK/config LC_ALL=C.UTF-8 \
        xs_spawn ${XS_WM:-openbox --sm-disable} "$@" >"$XS_WORK/wm.log" 2>&1
    # openbox names its theme once it has loaded it, fonts and all: on a cold
    # start, under load or with a font cache to rebuild, that takes seconds.
    # Another window manager says only that it manages the screen.
    if [ -z "${XS_WM:-}" ]; then
        xs_wait 30 "openbox to manage the screen" sh -c 'xprop -root _OB_THEME | grep -q "="'
    else
        xs_wait 30 "$XS_WM to manage the screen" \
            sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
    fi
}

xs_start_weston() {
    command -v weston >/dev/null || xs_fail "weston is missing; scripts/deps.sh test installs it"
    xs_runtime_dir
    # XWayland takes the first free display number; weston says which once
    # it listens.
    export WAYLAND_DISPLAY=korvel-e2e
    xs_spawn weston --backend=headless-backend.so --xwayland --socket="$WAYLAND_DISPLAY" \
        --idle-time=0 --log="$XS_WORK/weston.log" >"$XS_WORK/xwayland.log" 2>&1
    xs_wait 30 "weston's X display" grep -q "xserver listening on display" "$XS_WORK/weston.log"
    export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
        "$XS_WORK/weston.log" | head -n1)
    unset QT_QPA_PLATFORM
}

xs_game() {
    xs_spawn "$@" >"$XS_WORK/korvel.log" 2>&1
    GAME_PID=${XS_PIDS[-1]}
}

xs_windows() {
    local id
    [ -n "${GAME_PID:-}" ] || return 0
    for id in $(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null); do
        printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}
xs_window() { xs_windows | awk -F'\t' -v t="$1" '$2 == t { print $1; exit }'; }
xs_shown() { [ -n "$(xs_window "$1")" ]; }

xs_active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
xs_activate() {
    xs_active_is "$1" && return
    xdotool windowactivate "$1" 2>/dev/null || true
    xs_wait 5 "window $1 to take the keyboard" xs_active_is "$1"
}

xs_shot() {
    import -window root "$XS_WORK/$1.png"
    if [ -n "${KORVEL_SHOTS:-}" ]; then
        cp "$XS_WORK/$1.png" "$KORVEL_SHOTS/korvel-$1.png"
    fi
}
