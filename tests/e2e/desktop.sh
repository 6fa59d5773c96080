#!/usr/bin/env bash
# The real program on a desktop, driven by real key presses and clicks.
# Usage: desktop.sh path/to/korvel SCENARIO; KORVEL_SHOTS=dir keeps screenshots.
#   play          credits box first and alone, the game window centred over the
#                 black backdrop, which covers a panel (tint2) too, walls, a click
#                 on the backdrop, F1, Alt+F4
#   mouse         "Новая Игра" and "Выход" chosen with the mouse, the close button
#   minimise      the game window minimised, the backdrop iconified, every window
#                 hidden by "show desktop", while the worm moves and under a
#                 notice: all back at once, the backdrop full-screen all along
#   other-window  another program's window over the game, then a click on the backdrop
#   focus-new-no  a window manager that gives new windows no focus
#   screens       two monitors with the pointer on one, full-screen and maximise
#                 requests, a click on the backdrop under a notice, a monitor
#                 unplugged, a screen made smaller in play and larger under a
#                 notice: all on the one monitor
#   icewm         the caption drawn in its title bar, a resize and a full-screen
#                 request that it grants, a click on the backdrop under a notice
#   fluxbox       a window manager that keeps the focus with a full-screen
#                 window: the keyboard still reaches the game, then the notice
#   kwin          Plasma's window manager, compositing: the desktop hidden as the
#                 game window shows, the backdrop left out of the window switcher
#   wayland       a Wayland session (weston with XWayland), with and without
#                 Qt's Wayland plugin
#   no-display    no display to open at all
set -euo pipefail
korvel=$(realpath "${1:?usage: desktop.sh path/to/korvel SCENARIO}")
scenario=${2:?usage: desktop.sh path/to/korvel SCENARIO}
source "$(dirname "$0")/../../scripts/xsession.sh"
caption='Игра "Корвел"'

# geometry ID: X, Y (of the client area), WIDTH, HEIGHT.
geometry() {
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { print x, y, w, h }')
}

# The monitor "X Y WIDTH HEIGHT" that the program must keep to.
AREA="0 0 1024 768"
# Whether window ID lies wholly on AREA and, unless told "anywhere", centred on
# it (to a pixel across; up and down, give or take a title bar).
centred() {
    local ax ay aw ah
    read -r ax ay aw ah <<<"$AREA"
    geometry "$1"
    ((X >= ax && Y >= ay && X + WIDTH <= ax + aw && Y + HEIGHT <= ay + ah)) && { [ "${2:-}" = anywhere ] ||
        (((2 * X + WIDTH - 2 * ax - aw) ** 2 <= 4 && (2 * Y + HEIGHT - 2 * ay - ah) ** 2 <= 2500)); }
}
# Whether the backdrop covers AREA, and the game window and any notice lie on it.
fitted() {
    geometry "$BACKDROP"
    [ "$X $Y $WIDTH $HEIGHT" = "$AREA" ] && centred "$GAME" && { ! xs_shown Korvel || centred "$(xs_window Korvel)"; }
}

# Starts the game (CMD..., or else the game alone) and closes the credits box;
# sets GAME and BACKDROP, and OPENED to when the game window showed (in µs).
open_game() {
    xs_game "${@:-$korvel}"
    # A cold start loads Qt and its fonts from disk first.
    xs_wait 30 "the credits box" xs_shown "О программе"
    [ "$(xs_windows | wc -l)" -eq 1 ] || xs_fail "more than the credits box is shown: $(xs_windows)"
    xs_wait 2 "the credits box on $AREA" centred "$(xs_window "О программе")" anywhere
    xs_activate "$(xs_window "О программе")"
    xdotool key Return
    xs_wait 2 "the game window" xs_shown "$caption"
    OPENED=${EPOCHREALTIME//[!0-9]/}
    GAME=$(xs_window "$caption") BACKDROP=$(xs_window Form1)
    xs_wait 2 "the game window (or a notice over it) to take the keyboard" game_has_keyboard
}
notice_has_keyboard() { xs_shown Korvel && xs_active_is "$(xs_window Korvel)"; }
game_has_keyboard() { xs_active_is "$GAME" || notice_has_keyboard; }
# Whether the game window is on screen over the backdrop, with the keyboard at
# the window ID (the game window, or its notice).
back() {
    xs_shown Form1 && xs_active_is "$1" && above "$GAME" "$BACKDROP" &&
        { [ "$1" = "$GAME" ] || above "$1" "$GAME"; }
}

# Waits for the game-over notice, shoots the screen as NAME, closes it with KEY.
answer_notice() {
    xs_wait 5 "a game-over notice" xs_shown Korvel
    # The board's last move is painted in the same turn of the event loop that
    # maps the notice, and may reach the screen a moment after it.
    sleep 0.2
    xs_shot "$1"
    xs_activate "$(xs_window Korvel)"
    xdotool key "${2:-Return}"
    xs_wait 2 "the notice to close" eval '! xs_shown Korvel'
}

# The colour at the centre of board cell (ROW, COL) in the shot NAME.
cell() {
    geometry "$GAME"
    convert "$XS_WORK/$1.png" -format "%[hex:u.p{$((X + $3 * 24 - 12)),$((Y + HEIGHT - 254 + $2 * 24))}]" info:
}

# The program must end at once, with status 0 (143: still running after 2 s).
expect_end() {
    local status=0
    xs_spawn sh -c "sleep 2 && kill $GAME_PID 2>/dev/null"
    wait "$GAME_PID" || status=$?
    [ "$status" -eq 0 ] || xs_fail "exit status $status after $1"
}

# The top-level window that holds window ID: its frame, under a window manager.
frame() {
    local id=$1 parent
    while parent=$(xwininfo -children -id "$id" | awk '/Parent window id/ { print $4, $5 }') &&
        [ "${parent#* }" != "(the" ]; do
        id=${parent% *}
    done
    printf '0x%x\n' "$id"
}
# Whether window A lies above window B in the X server's stacking order: what
# the screen shows, whatever the window manager's own list says.
above() {
    xwininfo -root -children | awk -v a="$(frame "$1")" -v b="$(frame "$2")" \
        '$1 == a { ia = NR } $1 == b { ib = NR } END { exit !(ia > 0 && ia < ib) }'
}

# The session bus daemons running now, if any. pgrep matches at most 15
# characters of a name, so each name is looked up on its own.
bus_daemons() {
    pgrep -x dbus-daemon || :
    pgrep -x dbus-launch || :
}

# Clicks the first or the last item of the menu "Файл".
choose() {
    geometry "$GAME"
    xdotool mousemove $((X + 15)) $((Y + 10)) click 1
    xs_wait 2 "the menu to open" xs_shown Korvel
    geometry "$(xs_window Korvel)"
    xdotool mousemove $((X + 30)) $(($1 == 1 ? Y + 10 : Y + HEIGHT - 10)) click 1
    xs_wait 2 "the menu to close" eval '! xs_shown Korvel'
}

# Another program's window over the game, then a click on the backdrop: the
# backdrop comes over that window and the game window over both, with the
# keyboard; so too with a notice open, the notice over all.
click_over_another_window() {
    xs_spawn xmessage -name another -center "another program"
    xs_wait 5 "the other program's window" xdotool search --onlyvisible --classname another
    other=$(xdotool search --onlyvisible --classname another)
    xs_activate "$other"
    xs_shot other-over-the-game
    xdotool mousemove 20 740 click 1 # the backdrop comes over it, the game over both
    xs_wait 2 "the game window to take the keyboard back" xs_active_is "$GAME"
    above "$BACKDROP" "$other" && above "$GAME" "$BACKDROP" || xs_fail "wrong stacking after the click"
    xs_shot click-on-the-backdrop
    xdotool key F1 # so too, with a notice open, the notice
    xs_wait 5 "the notice" xs_shown Korvel
    xs_activate "$other"
    xdotool mousemove 20 740 click 1
    xs_wait 2 "the notice to take the keyboard back" notice_has_keyboard
    above "$BACKDROP" "$other" && above "$GAME" "$BACKDROP" && above "$(xs_window Korvel)" "$GAME" ||
        xs_fail "wrong stacking after the click under a notice"
    xs_shot click-under-a-notice
}

case $scenario in
play)
    xs_start
    HOME=$XS_WORK xs_spawn tint2 # a panel, which the backdrop must cover too
    xs_wait 5 "tint2's panel" xdotool search --onlyvisible --class tint2
    # Started outside a login session (no session bus, no runtime directory),
    # in the C locale, with options that Qt would take: the game takes none,
    # writes nothing, starts nothing that outlives it and says nothing.
    mkdir -m 700 "$XS_WORK/home"
    buses=" $(bus_daemons | tr "\n" " ") "
    open_game env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR HOME="$XS_WORK/home" LC_ALL=C \
        "$korvel" -platform offscreen -qwindowtitle Oops -name oops
    [ "$(LC_ALL=C.UTF-8 xprop -id "$GAME" WM_NAME)" = "WM_NAME(UTF8_STRING) = \"$caption\"" ] ||
        xs_fail "the title for older window managers: $(LC_ALL=C.UTF-8 xprop -id "$GAME" WM_NAME)"
    xdotool windowsize "$GAME" 800 500 # a fixed window: the window manager refuses
    sleep 0.5
    geometry "$GAME"
    [ "$WIDTH" -eq 577 ] || xs_fail "the game window was resized to ${WIDTH}x$HEIGHT"
    xs_wait 2 "the backdrop over the whole screen, the game centred on it" fitted
    above "$BACKDROP" "$(xdotool search --onlyvisible --class tint2)" || xs_fail "the panel shows"
    xprop -id "$BACKDROP" _NET_WM_STATE | grep -q SKIP_TASKBAR || xs_fail "the backdrop has a taskbar button"
    ! xprop -id "$GAME" _NET_WM_STATE | grep -q SKIP_TASKBAR || xs_fail "the game has no taskbar button"
    answer_notice wall-up # untouched, the worm crawls up into the wall
    [ "$(convert "$XS_WORK/wall-up.png" -format '%[hex:u.p{5,5}]' info:)" = 000000 ] ||
        xs_fail "the backdrop is not black"
    [ "$(cell wall-up 1 7)" = C0C0C0 ] || xs_fail "the head is not at the top wall"
    # A click on the backdrop leaves the keyboard with the game: F1 and Left
    # start a game that runs along row 9 into the left wall.
    xdotool mousemove 20 740 click 1
    sleep 0.3
    xs_active_is "$GAME" || xs_fail "a click on the backdrop took the keyboard"
    xdotool key F1 Left
    answer_notice wall-left Escape
    [ "$(cell wall-left 9 1)$(cell wall-left 1 7)" = C0C0C0FFFFFF ] || xs_fail "no new game to the left"
    xs_activate "$GAME"
    xdotool key alt+F4
    expect_end Alt+F4
    [ ! -s "$XS_WORK/korvel.log" ] || xs_fail "the game printed something"
    [ -z "$(ls -A "$XS_WORK/home")" ] || xs_fail "the game wrote $(find "$XS_WORK/home" -mindepth 1)"
    for pid in $(bus_daemons); do
        [[ $buses == *" $pid "* ]] || ! tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "DISPLAY=$DISPLAY" ||
            xs_fail "the game left $(cat "/proc/$pid/comm") running"
    done
    ;;
mouse)
    xs_start
    open_game
    answer_notice first-game
    choose 1
    answer_notice second-game # only a new game can end again
    choose 3
    expect_end "Выход"
    open_game
    answer_notice third-game
    geometry "$GAME"
    xdotool mousemove $((X + WIDTH - 11)) $((Y - 10)) click 1 # openbox's close button
    expect_end "the close button"
    ;;
minimise)
    xs_start
    open_game
    # The backdrop stays full-screen all along: taken off and put back, it would
    # show at another size in between on some window managers.
    xs_spawn xprop -spy -id "$BACKDROP" _NET_WM_STATE >"$XS_WORK/backdrop-states"
    # The game window minimised, the backdrop iconified on its own, and every
    # window hidden by openbox's "show desktop" (super+d).
    for hide in "game:windowminimize $GAME" "backdrop:windowminimize $BACKDROP" "desktop:key super+d"; do
        shot=${hide%%:*} hide=${hide#*:}
        xs_activate "$GAME"
        xdotool key F1 # a fresh game: the hiding and Left come long before a wall
        xdotool $hide
        xs_wait 2 "the game window to come back with the keyboard after $hide" back "$GAME"
        xdotool key Left
        answer_notice "left-after-$shot"
        [[ "$(for row in {1..10}; do cell "left-after-$shot" "$row" 1; done)" == *C0C0C0* ]] ||
            xs_fail "Left after $hide did not reach the game"
        xs_activate "$GAME"
        xdotool key F1
        xs_wait 5 "the notice" xs_shown Korvel
        notice=$(xs_window Korvel)
        xdotool $hide
        xs_wait 2 "the notice to come back with the keyboard after $hide" back "$notice"
        sleep 0.3 # the windows repaint before the shot
        answer_notice "notice-after-$shot"
    done
    ! grep -v FULLSCREEN "$XS_WORK/backdrop-states" || xs_fail "the backdrop was not full-screen all along"
    ;;
other-window)
    xs_start
    open_game
    answer_notice game-over
    click_over_another_window
    ;;
focus-new-no)
    sed 's|<focusNew>yes</focusNew>|<focusNew>no</focusNew>|' /etc/xdg/openbox/rc.xml >"$XS_WORK/rc.xml"
    xs_start 1024x768 --config-file "$XS_WORK/rc.xml"
    open_game
    sleep 0.5
    [ "$(xs_windows | grep -c "$caption")" -eq 1 ] || xs_fail "not exactly one game window"
    answer_notice focus-new-no
    ;;
screens)
    xs_start 1280x800
    xrandr --setmonitor '*right' 640/170x800/212+640+0 screen >/dev/null # the primary
    xrandr --setmonitor left 640/170x800/212+0+0 none
    xdotool mousemove 300 400
    AREA="0 0 640 800"
    open_game
    xs_wait 2 "all on the pointer's monitor" fitted
    # Granted, full screen and maximised are each taken back, by the state
    # change alone: openbox resizes nothing on the way.
    for state in fullscreen maximized_vert,maximized_horz; do
        wmctrl -i -r "$GAME" -b add,$state
        sleep 0.5
        xs_wait 2 "the game window back in the middle after $state" fitted
        ! xprop -id "$GAME" _NET_WM_STATE | grep -q -e FULLSCREEN -e MAXIMIZED ||
            xs_fail "the game window kept $state"
    done
    xs_wait 5 "a notice" xs_shown Korvel
    xdotool mousemove 10 100 click 1 # the backdrop, with the notice open
    xs_wait 2 "the game window over the backdrop, the notice over both" back "$(xs_window Korvel)"
    xrandr --delmonitor left
    AREA="640 0 640 800"
    xs_wait 2 "all on the right monitor" fitted
    xrandr --delmonitor right
    AREA="0 0 1280 800"
    xs_wait 2 "all on the whole screen" fitted
    # One ordinary screen made smaller during play, then larger again under a
    # notice: its size changes, and nothing else.
    xrandr --newmode m800 40 800 840 968 1056 600 601 605 628 && xrandr --addmode screen m800
    answer_notice whole-screen
    xs_activate "$GAME"
    xdotool key F1
    xrandr -s 800x600
    AREA="0 0 800 600"
    xs_wait 2 "all on the smaller screen" fitted
    xs_wait 5 "a notice" xs_shown Korvel
    xrandr -s 1280x800
    AREA="0 0 1280 800"
    xs_wait 2 "all on the larger screen, the notice too" fitted
    ;;
icewm)
    # It grants a fixed window's resize and full-screen requests, and raises
    # only a notice when the backdrop is clicked.
    XS_WM=icewm xs_start
    open_game
    xs_wait 5 "a notice" xs_shown Korvel # by then icewm takes resize requests
    # The caption, Cyrillic, is drawn in the title bar: dark letters on the
    # light bar between the buttons at its ends.
    xs_shot caption
    geometry "$(frame "$GAME")"
    top=$Y
    geometry "$GAME"
    letters=$(convert "$XS_WORK/caption.png" -crop "$((WIDTH - 80))x$((Y - top))+$((X + 40))+$top" \
        -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:)
    ((letters > 100)) || xs_fail "no caption in the title bar ($letters dark pixels)"
    xdotool windowsize "$GAME" 600 300 # icewm grants it, the game takes it back
    sleep 0.5
    geometry "$GAME"
    [ "$WIDTH" -eq 577 ] || xs_fail "the game window was resized to ${WIDTH}x$HEIGHT"
    ! xprop -id "$GAME" _NET_WM_ALLOWED_ACTIONS | grep -q RESIZE || xs_fail "the game offers resizing"
    wmctrl -i -r "$GAME" -b add,fullscreen # icewm grants it too, title bar off screen
    sleep 0.5
    xs_wait 2 "the game window back in the middle after full screen" fitted
    xdotool mousemove 10 100 click 1 # the backdrop, with the notice open
    xs_wait 2 "the game window over the backdrop, the notice over both" back "$(xs_window Korvel)"
    ;;
fluxbox)
    # It gives no new window the focus while a full-screen window has it, and
    # takes only a pager's word for which window should have it.
    XS_WM=fluxbox xs_start
    # Its first start writes a configuration, and a child of its own sets the
    # background; keys pressed before then may go nowhere.
    xs_wait 10 "fluxbox to settle" eval '! pgrep -P "${XS_PIDS[-1]}" >/dev/null'
    open_game
    answer_notice game-over
    click_over_another_window
    ;;
kwin)
    # Plasma's window manager, compositing with OpenGL (Mesa's software
    # renderer). It paints no desktop of its own: another program's white
    # window stands in for it, and the backdrop must hide it at once.
    XS_WM=kwin_x11 xs_start
    # Its OpenGL compositor, once set up, finds that Xvfb cannot sync to a
    # display's refresh, and says so.
    xs_wait 30 "kwin to composite" grep -q glSwapInterval "$XS_WORK/wm.log"
    xs_spawn xmessage -geometry 1024x768+0+0 "the desktop"
    xs_wait 5 "the desktop's stand-in" xdotool search --onlyvisible --class Xmessage
    open_game
    # A window that offers kwin a sync request but never answers it shows
    # only when kwin's wait times out, a second later.
    until xs_shot desktop &&
        [ "$(convert "$XS_WORK/desktop.png" -format '%[hex:u.p{20,400}]' info:)" = 000000 ]; do
        ((${EPOCHREALTIME//[!0-9]/} - OPENED < 300000)) ||
            xs_fail "the desktop shows 0.3 s after the game window"
    done
    # Left out of Alt+Tab: no black screen to switch to.
    xprop -id "$BACKDROP" _NET_WM_STATE | grep -q _KDE_NET_WM_STATE_SKIP_SWITCHER ||
        xs_fail "kwin's window switcher lists the backdrop"
    ;;
wayland)
    xs_start_weston
    # With Qt's Wayland plugin (qt6-wayland) Qt would talk Wayland, and no X
    # window would show; without it, Qt would complain at every start. The
    # copy of the game beside a qt.conf sees Qt's plugins without Wayland's.
    plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS)
    [ -e "$plugins/platforms/libqwayland-generic.so" ] || xs_fail "qt6-wayland is not installed"
    mkdir -p "$XS_WORK/bare/plugins/platforms"
    find "$plugins" -mindepth 1 -maxdepth 1 ! -name platforms -exec ln -s {} "$XS_WORK/bare/plugins/" \;
    find "$plugins/platforms" ! -name '*wayland*' -name '*.so' -exec ln -s {} "$XS_WORK/bare/plugins/platforms/" \;
    printf '[Paths]\nPlugins=%s\n' "$XS_WORK/bare/plugins" >"$XS_WORK/bare/qt.conf"
    cp "$korvel" "$XS_WORK/bare/korvel"
    for binary in "$korvel" "$XS_WORK/bare/korvel"; do
        xs_game "$binary"
        xs_wait 30 "the credits box on the X display" xs_shown "О программе"
        sleep 1
        kill -0 "$GAME_PID" || xs_fail "$binary died"
        [ ! -s "$XS_WORK/korvel.log" ] || xs_fail "$binary complained"
        kill "$GAME_PID"
    done
    ;;
no-display)
    # No display to open: one line and a failure status, not an abort.
    for display in "" :65001; do
        status=0
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" XDG_RUNTIME_DIR="$XS_WORK" \
            timeout 20 "$korvel" 2>"$XS_WORK/err" || status=$?
        [ "$status" -eq 1 ] && [ "$(wc -l <"$XS_WORK/err")" -eq 1 ] &&
            grep -q "^korvel: cannot open a display" "$XS_WORK/err" ||
            xs_fail "with DISPLAY='$display': status $status, $(cat "$XS_WORK/err")"
    done
    ;;
*) xs_fail "no scenario $scenario" ;;
esac
echo "desktop.sh $scenario: passed"
