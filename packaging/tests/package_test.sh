#!/usr/bin/env bash
# Protects how the game is installed and packed. `cmake --install` into
# /usr/local and the .deb that cpack builds (section games, with nothing that
# lintian calls an error or a warning) each hold exactly the game's files where
# Debian, desktops and man look for them, and these files agree with one
# another: the menu entry runs the installed game and shows the installed icon,
# AppStream launches the entry and names the binary. The package's Depends,
# filled in by dpkg-shlibdeps, names the package of every library the game links.
# The packed game is hardened as Debian hardens its own binaries. From a copy
# of the sources without git, the README's play command installs what the
# build uses, builds the game alone and starts it; packed, it is dated by the
# changelog. A build of that copy outside its source tree, given the first
# package's date, packs the very same bytes as the first package.
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

# The texts are Russian: a font with Cyrillic letters comes with the game.
depends_on fonts-dejavu-core || fail "Depends lacks a font with Cyrillic letters: $depends"

# The packed game is hardened as Debian's own programs are: every check of
# hardening-check says yes, or cannot decide, or says no only where it says no
# for a program of Debian's archive built with Debian's hardening flags
# (openbox). On amd64 that is control-flow integrity, which the C library's
# start files of Debian 12 and 13 do not mark and so no program has, and on
# Debian 13 branch protection, a mark of AArch64 programs. The game's own code
# must still mark its branch targets, as its main function shows before
# stripping.
report=$(hardening-check "$tmp/deb/usr/games/korvel" | tail -n +2 || true)
reference=$(hardening-check "$(command -v openbox)" | tail -n +2 || true)
grep -q ': yes' <<<"$report" || fail "hardening-check: $report"
while IFS= read -r line; do
    check=${line%%:*}
    grep -qF "$check: no" <<<"$reference" ||
        fail "hardening-check:$line, where openbox has$(grep -F "$check:" <<<"$reference")"
done < <(grep ': no' <<<"$report")
[ "$(uname -m)" != x86_64 ] || objdump -d --disassemble=main "$build/app/korvel" |
    awk '/<main>:/ { getline; marked = /endbr64/ } END { exit !marked }' ||
    fail "the game's code marks no branch targets (-fcf-protection)"

# A player's copy of the sources as a release tarball brings them (no git
# history; every file dated now), on a machine that has nothing installed:
# shims stand in for the package tools and record what the scripts install.
# The README's play command then builds the game alone and starts the game it
# built, which finds no display here.
player=$tmp/player
mkdir -p "$player" "$tmp/shims"
tar -C "$source" --exclude=./build --exclude=./.cache --exclude=./.git -cf - . | tar -C "$player" -xmf -
printf '#!/bin/sh\nexit 1\n' >"$tmp/shims/dpkg-query"
printf '#!/bin/sh\n[ "$1" != install ] || echo "$@" >>"%s"\n' "$tmp/installed" >"$tmp/shims/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$tmp/shims/sudo"
chmod +x "$tmp/shims"/*
shimmed() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$tmp/shims:$PATH" "$@"; }
! shimmed bash "$player/scripts/run.sh" >"$tmp/run.log" 2>&1 &&
    [[ "$(tail -n1 "$tmp/run.log")" == "korvel: cannot open a display"* ]] ||
    { tail -n 20 "$tmp/run.log" >&2; fail "run.sh did not start the game it built"; }
[ -z "$(find "$player" -name 'korvel_*_tests')" ] || fail "run.sh built the test bench too"
# A warning stops the tests' build, never a player's: a newer compiler may
# warn where nothing is wrong for them.
werror() { grep -qE -- '-Werror( |")' "$1/compile_commands.json"; }
werror "$build" && ! werror "$player/build/play" || fail "warnings are errors in the wrong builds"
play=$(sed 's/ -[^ ]*//g; s/^install //' "$tmp/installed")
shimmed bash "$player/scripts/deps.sh" pack >/dev/null
pack=$(tail -n1 "$tmp/installed" | sed 's/ -[^ ]*//g; s/^install //')

# What a set installs must bring in the package of every file that its
# commands use: the tools, CMake's modules, the headers and the libraries that
# the build read (as the compiler's dependency files and the link lines name
# them), and for packing, what cpack runs. A fresh minimal Debian holds only
# its essential and required packages besides.
owners() {
    local files
    files=$(cat)
    { echo "$files"; xargs realpath -e <<<"$files" 2>/dev/null; } | sort -u | awk 'FNR == NR { want[$0]; next }
        ($0 in want) || (("/usr" $0) in want) {
            p = FILENAME; sub(/.*\//, "", p); sub(/(:.*)?\.list$/, "", p); print p }' \
        - /var/lib/dpkg/info/*.list | sort -u
}
closure() {
    { apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
        --no-breaks --no-replaces --no-enhances "$@" | awk '{ print $NF }' | tr -d '<>' | sed 's/:.*//'
      dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' |
        awk '$2 == "yes" || $3 == "required" { print $1 }'; } | sort -u
}
# needs SET FILE...: SET brings in the owner of each FILE.
needs() {
    local missing
    # shellcheck disable=SC2086
    missing=$(printf '%s\n' "${@:2}" | owners | comm -13 <(closure $1) -)
    [ -z "$missing" ] || fail "scripts/deps.sh does not install $(echo $missing) (in '$1')"
}
tree=$player/build/play
needs "$play" $(sed -n 's/^\(CMAKE_CXX_COMPILER\|CMAKE_MAKE_PROGRAM\|CMAKE_COMMAND\|PKG_CONFIG_EXECUTABLE\):[A-Z]*=//p' \
    "$tree/CMakeCache.txt") $(sed -n 's/^ *"MOC_EXECUTABLE" : "\(.*\)",$/\1/p' "$tree"/ui/CMakeFiles/*/AutogenInfo.json) \
    $(sed -n 's/^  "\(\/usr\/[^"]*\)"$/\1/p' "$tree/CMakeFiles/Makefile.cmake") \
    $(find "$tree" \( -name '*.o.d' -o -name link.txt \) -exec cat {} + | tr ' \\:' '\n\n\n' | grep '^/usr/')
needs "$pack" "$(command -v file)" "$(command -v dpkg-shlibdeps)" "$(command -v objdump)"

# Packed as the README says, without git the package is dated by the
# changelog's latest entry.
(cd "$tree" && cpack -G DEB >"$tmp/player-cpack.log" 2>&1) ||
    { cat "$tmp/player-cpack.log" >&2; fail "cpack failed without git"; }
dated() { dpkg-deb --fsys-tarfile "$1" | tar -t --full-time -v --utc | awk '{ print $4, $5 }' | sort -u; }
changelog=$(dpkg-parsechangelog -l "$source/packaging/changelog" -S Timestamp)
[ "$(dated "$tree/$(basename "$deb")")" = "$(date -u -d "@$changelog" '+%F %T')" ] ||
    fail "without git, files dated $(dated "$tree/$(basename "$deb")"), not by the changelog"

# A packager's build, outside the source tree, with SOURCE_DATE_EPOCH set to
# the date of the first package: that date wins, and so the same bytes.
packager=$tmp/elsewhere/build
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
epoch=$(date -u -d "$(dated "$deb" | head -n1)" +%s)
{
    cmake -S "$player" -B "$packager" -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" \
        -DCMAKE_CXX_COMPILER="$(cache CMAKE_CXX_COMPILER)" -DBUILD_TESTING=OFF &&
        cmake --build "$packager" -j2 &&
        SOURCE_DATE_EPOCH=$epoch cpack --config "$packager/CPackConfig.cmake" -G DEB -B "$tmp/again"
} >"$tmp/again.log" 2>&1 || { tail -n 40 "$tmp/again.log" >&2; fail "the packager's build failed"; }
cmp -s "$deb" "$tmp/again/$(basename "$deb")" || {
    diffoscope "$deb" "$tmp/again/$(basename "$deb")" >&2 || true
    fail "a build of the same sources elsewhere, out of tree, packs other bytes"
}

echo "install and package OK: $(basename "$deb"), Depends: $depends"
