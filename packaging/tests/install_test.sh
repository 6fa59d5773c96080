#!/usr/bin/env bash
# Protects the installed layout: `cmake --install` puts exactly the binary,
# menu entry, icon, AppStream data, manual page and licence where desktops and
# man look for them, and these files agree with one another (the entry runs
# the installed binary and shows the installed icon; AppStream launches the
# installed entry and names the binary).
# Usage: install_test.sh BUILD_DIR
set -euo pipefail

build=$1
id=io.github.korvel.Korvel
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

expected=(
    "bin/korvel"
    "share/applications/$id.desktop"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/metainfo/$id.metainfo.xml"
    "share/man/man6/korvel.6"
    "share/doc/korvel/copyright"
)
actual=$(cd "$usr" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$wanted" ] ||
    fail "installed files differ from the expected set:
$(diff <(echo "$wanted") <(echo "$actual") || true)"
[ -x "$usr/bin/korvel" ] || fail "bin/korvel is not executable"

desktop=$usr/share/applications/$id.desktop
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = korvel ] || fail "Exec is '$(key Exec)', not the installed korvel"
[ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)', not the installed $id.svg"

metainfo=$usr/share/metainfo/$id.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -q "<binary>korvel</binary>" "$metainfo" || fail "metainfo does not provide the korvel binary"

# The icon must render, not merely be present.
rsvg-convert -w 48 -h 48 "$usr/share/icons/hicolor/scalable/apps/$id.svg" -o "$root/icon.png"
[ "$(identify -format '%wx%h' "$root/icon.png")" = 48x48 ] || fail "icon did not render at 48x48"

# The manual page must format without a single groff warning.
warnings=$(LC_ALL=C.UTF-8 groff -k -t -man -Tutf8 -ww -z "$usr/share/man/man6/korvel.6" 2>&1)
[ -z "$warnings" ] || fail "korvel.6 does not format cleanly: $warnings"

echo "install layout OK"
