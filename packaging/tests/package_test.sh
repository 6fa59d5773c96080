#!/usr/bin/env bash
# Protects how the game is installed and packed. `cmake --install` into
# /usr/local and the .deb that cpack builds (section games, with nothing that
# lintian calls an error or a warning) each hold exactly the game's files where
# Debian, desktops and man look for them, and these files agree with one
# another: the menu entry runs the installed game and shows the installed icon,
# AppStream launches the entry and names the binary. The package's Depends,
# filled in by dpkg-shlibdeps, names the package of every library the game links.
# The packed game is hardened as Debian hardens its own binaries, and a second
# build of the same sources, elsewhere and later, packs the very same bytes.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
# The package must date itself; a date from outside would hide it if it did not.
unset SOURCE_DATE_EPOCH
id=io.github.korvel.Korvel
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# check_tree ROOT PREFIX: the game installed under ROOT for PREFIX.
check_tree() {
    local root=$1 prefix=$2 usr=$1$2 actual wanted out
    actual=$(cd "$usr" && find . -type f -printf '%P\n' | sort)
    wanted=$(sort <<EOT
games/korvel
share/applications/$id.desktop
share/icons/hicolor/scalable/apps/$id.svg
share/metainfo/$id.metainfo.xml
share/man/man6/korvel.6.gz
share/doc/korvel/copyright
share/doc/korvel/changelog.gz
EOT
)
    [ "$actual" = "$wanted" ] || fail "files under $prefix differ from the expected set:
$(diff <(echo "$wanted") <(echo "$actual") || true)"

    local desktop=$usr/share/applications/$id.desktop
    # The validator exits 0 on hints; a clean entry prints nothing at all.
    out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
    key() { sed -n "s/^$1=//p" "$desktop"; }
    [ -x "$root$(key Exec)" ] || fail "Exec is '$(key Exec)', not the game installed in $prefix"
    [ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)', not the installed $id.svg"

    local metainfo=$usr/share/metainfo/$id.metainfo.xml
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $id.desktop"
    grep -q "<binary>korvel</binary>" "$metainfo" || fail "metainfo does not provide the korvel binary"

    # The icon must render, not merely be present.
    rsvg-convert -w 48 -h 48 "$usr/share/icons/hicolor/scalable/apps/$id.svg" -o "$tmp/icon.png"
    [ "$(identify -format '%wx%h' "$tmp/icon.png")" = 48x48 ] || fail "icon did not render at 48x48"

    # The manual page must format without a single groff warning; lintian
    # lets some through.
    out=$(zcat "$usr/share/man/man6/korvel.6.gz" | LC_ALL=C.UTF-8 groff -k -t -man -Tutf8 -ww -z 2>&1) &&
        [ -z "$out" ] || fail "korvel.6 does not format cleanly: $out"
}

DESTDIR=$tmp/local cmake --install "$build" --prefix /usr/local >/dev/null
check_tree "$tmp/local" /usr/local

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
debs=("$tmp"/korvel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one korvel_*.deb, got: ${debs[*]}"
deb=${debs[0]}
# Debian's own checks of the package: layout, changelog, copyright, manual
# page, stripping, permissions, control fields.
lintian --display-info --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
dpkg-deb -x "$deb" "$tmp/deb"
check_tree "$tmp/deb" /usr

# Every library the packed game needs must come in through Depends; package
# names only, alternatives count as well.
depends=$(dpkg-deb -f "$deb" Depends)
depends_on() { tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | grep -qxF "$1"; }
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
sonames=$(readelf -d "$tmp/deb/usr/games/korvel" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$sonames" ] || fail "usr/games/korvel names no shared libraries"
for soname in $sonames; do
    pkg=$(dpkg -S "*/$multiarch/$soname" | head -n1 | cut -d: -f1 || true)
    [ -n "$pkg" ] || fail "no installed package provides $soname"
    depends_on "$pkg" || fail "Depends lacks $pkg (for $soname): $depends"
done

# Every hardening check that can be decided says yes. Control-flow protection
# shows in a binary only if every piece linked into it has it, and the C
# library's start files of Debian 12 have none; there, the game's own code
# must still mark its branch targets, as its main function shows before
# stripping.
report=$(hardening-check "$tmp/deb/usr/games/korvel" || true)
if [[ "$(readelf -n "$(g++ -print-file-name=crti.o)")" != *"x86 feature: IBT, SHSTK"* ]]; then
    report=$(grep -v '^ Control flow integrity: no' <<<"$report")
    [ "$(uname -m)" != x86_64 ] || objdump -d --disassemble=main "$build/app/korvel" |
        awk '/<main>:/ { getline; marked = /endbr64/ } END { exit !marked }' ||
        fail "the game's code marks no branch targets (-fcf-protection)"
fi
grep -q ': yes' <<<"$report" && ! grep ': no' <<<"$report" ||
    fail "hardening-check: $report"

# The same sources, copied elsewhere as a fresh clone would be (every file
# dated now), built and packed again a little later: the same bytes. The game
# builds there as players build it, without the test bench.
clone=$tmp/elsewhere/korvel
mkdir -p "$clone"
tar -C "$source" --exclude=./build --exclude=./.cache -cf - . | tar -C "$clone" -xmf -
clone_build=$clone/$(realpath -m --relative-to="$source" "$build")
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
{
    cmake -S "$clone" -B "$clone_build" -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" \
        -DCMAKE_CXX_COMPILER="$(cache CMAKE_CXX_COMPILER)" -DBUILD_TESTING=OFF -DKORVEL_BUILD_BENCH=OFF \
        -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON &&
        cmake --build "$clone_build" -j2 &&
        cpack --config "$clone_build/CPackConfig.cmake" -G DEB -B "$tmp/again"
} >"$tmp/again.log" 2>&1 || { tail -n 40 "$tmp/again.log" >&2; fail "the second build failed"; }
cmp -s "$deb" "$tmp/again/$(basename "$deb")" || {
    diffoscope "$deb" "$tmp/again/$(basename "$deb")" >&2 || true
    fail "a second build of the same sources packs other bytes"
}

echo "install and package OK: $(basename "$deb"), Depends: $depends"
