#!/usr/bin/env bash
# Runs the README's test command on another Debian release, as a newcomer
# would meet it: in a fresh minimal system of that release (debootstrap's
# minbase) with git, a clone of this checkout's HEAD and a fresh login's
# environment (no locale, no display). Needs root; installs debootstrap if it
# is missing. The packages come from the mirror that apt already uses here.
#
# Usage: test_release.sh [RELEASE]     (trixie unless given)
#   KORVEL_CHROOT=DIR keeps the system in DIR and uses it again next time,
#   with its packages: for running it more than once by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-trixie}
source=$PWD

[ "$(id -u)" -eq 0 ] || { echo "test_release.sh: needs root (chroot, mounts)" >&2; exit 1; }
command -v debootstrap >/dev/null || {
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
}

# The mirrors, as apt's sources here name them: the archive first, then the
# security archive.
mirrors() {
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        awk '$1 == "URIs:" { print $2 }' /etc/apt/sources.list.d/debian.sources
    fi
    if [ -f /etc/apt/sources.list ]; then
        awk '$1 == "deb" { print ($2 ~ /^\[/ ? $3 : $2) }' /etc/apt/sources.list
    fi
}
archive=$(mirrors | grep -v security | head -n1)
security=$(mirrors | grep security | head -n1)
[ -n "$archive" ] || { echo "test_release.sh: apt names no Debian mirror here" >&2; exit 1; }

root=${KORVEL_CHROOT:-$(mktemp -d /var/tmp/korvel-"$release".XXXXXX)}
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
    done
    # Never remove a tree that still has the host's /dev or /proc in it.
    if [ -z "${KORVEL_CHROOT:-}" ] && ! findmnt -rno TARGET | grep -q "^$root/"; then
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# retry COMMAND...: the mirror drops a download now and then.
retry() {
    local try
    for try in 1 2 3; do
        "$@" && return 0
        echo "test_release.sh: try $try of 3 failed: $*" >&2
        sleep 5
    done
    return 1
}

if [ ! -x "$root/usr/bin/apt-get" ]; then
    echo "test_release.sh: a minimal Debian $release in $root"
    # debootstrap leaves a half-made tree behind on failure.
    fresh_system() {
        find "$root" -mindepth 1 -maxdepth 1 -exec rm -rf --one-file-system {} +
        debootstrap --variant=minbase "$release" "$root" "$archive" >"$root.log" 2>&1 ||
            { tail -n 5 "$root.log" >&2; return 1; }
    }
    retry fresh_system
    rm -f "$root.log"
fi
{
    echo "Types: deb"
    echo "URIs: $archive"
    echo "Suites: $release $release-updates"
    echo "Components: main"
    echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    if [ -n "$security" ]; then
        echo
        echo "Types: deb"
        echo "URIs: $security"
        echo "Suites: $release-security"
        echo "Components: main"
        echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    fi
} >"$root/etc/apt/sources.list.d/debian.sources"
rm -f "$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# apt retries a dropped download, in the scripts as here.
echo 'Acquire::Retries "3";' >"$root/etc/apt/apt.conf.d/80retries"

for fs in proc sys dev dev/pts dev/shm; do
    mkdir -p "$root/$fs"
    mount --bind "/$fs" "$root/$fs"
    mounted+=("$root/$fs")
done

in_root() {
    chroot "$root" env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
retry in_root apt-get update
retry in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    git ca-certificates
rm -rf "$root/root/korvel"
git clone --quiet --no-hardlinks "$source" "$root/root/korvel"
echo "test_release.sh: bash scripts/test.sh on Debian $release ($(cat "$root/etc/debian_version"))"
in_root bash -c 'cd /root/korvel && bash scripts/test.sh'
