#!/usr/bin/env bash
# Protects the Debian package: cpack builds one korvel .deb in section games
# whose Depends, filled in by dpkg-shlibdeps, names the package of every
# shared library the game links (Qt 6 Widgets above all), and whose data
# holds the binary on PATH together with its desktop files.
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail

build=$1
id=io.github.korvel.Korvel
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack failed"; }
debs=("$out"/korvel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one korvel_*.deb, got: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvel ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is '$(field Architecture)'"
for f in Version Maintainer Homepage Description; do
    [ -n "$(field "$f")" ] || fail "control field $f is empty"
done

depends=$(field Depends)
# Package names in Depends, without versions; alternatives count as well.
depends_on() { tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | grep -qxF "$1"; }
depends_on libqt6widgets6 || fail "Depends lacks libqt6widgets6: $depends"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in \
    ./usr/bin/korvel \
    "./usr/share/applications/$id.desktop" \
    "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "./usr/share/metainfo/$id.metainfo.xml" \
    ./usr/share/man/man6/korvel.6 \
    ./usr/share/doc/korvel/copyright; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done

# Every library the packed binary needs must come in through Depends.
dpkg-deb -x "$deb" "$out/root"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
sonames=$(readelf -d "$out/root/usr/bin/korvel" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$sonames" ] || fail "usr/bin/korvel names no shared libraries"
for soname in $sonames; do
    pkg=$(dpkg -S "*/$multiarch/$soname" | head -n1 | cut -d: -f1 || true)
    [ -n "$pkg" ] || fail "no installed package provides $soname"
    depends_on "$pkg" || fail "Depends lacks $pkg (for $soname): $depends"
done

echo "package OK: $(basename "$deb"), Depends: $depends"
