#!/usr/bin/env bash
# Started with no display to open (none set, or one nobody serves), the program
# must say so in one line and fail, not abort with a core dump.
set -uo pipefail

korvel=${1:?usage: no_display.sh path/to/korvel}
err=$(mktemp)
trap 'rm -f "$err"' EXIT

for display in "" ":65001"; do
    timeout 20 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$korvel" \
        >/dev/null 2>"$err"
    status=$?
    if [ "$status" -eq 0 ] || [ "$status" -ge 124 ] || [ "$(wc -l <"$err")" -ne 1 ] ||
        ! grep -q "^korvel: cannot open a display" "$err"; then
        echo "no_display.sh: FAIL with DISPLAY='$display': status $status, output:" >&2
        cat "$err" >&2
        exit 1
    fi
done
echo "no_display.sh: passed: $(cat "$err")"
