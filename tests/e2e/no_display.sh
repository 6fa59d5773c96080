#!/usr/bin/env bash
# Started with no display to open, the program must say so in one line and
# fail, not abort with a core dump.
set -uo pipefail

korvel=${1:?usage: no_display.sh path/to/korvel}
err=$(mktemp)
trap 'rm -f "$err"' EXIT

# A display number nobody serves, and no way to fall back to another platform.
timeout 20 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:65001 "$korvel" 2>"$err" >/dev/null
status=$?
if [ "$status" -eq 0 ] || [ "$status" -ge 124 ]; then
    echo "no_display.sh: FAIL: exit status $status (0, a time-out or a signal)" >&2
    cat "$err" >&2
    exit 1
fi
if [ "$(wc -l <"$err")" -ne 1 ] || ! grep -q "korvel: cannot open a display" "$err"; then
    echo "no_display.sh: FAIL: expected one line about the display, got:" >&2
    cat "$err" >&2
    exit 1
fi
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u DISPLAY "$korvel" 2>/dev/null >/dev/null
status=$?
if [ "$status" -eq 0 ] || [ "$status" -ge 124 ]; then
    echo "no_display.sh: FAIL: exit status $status without DISPLAY" >&2
    exit 1
fi
echo "no_display.sh: passed: $(cat "$err")"
