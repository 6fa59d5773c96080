#!/usr/bin/env bash
# Installs the Debian packages that are missing for a purpose:
#   deps.sh play   building and running the game
#   deps.sh pack   that, and packing it as a .deb
#   deps.sh test   all that, and building and running every test and benchmark
# Needs root (or sudo) only when something is missing.
set -euo pipefail

# The Russian texts need a font with Cyrillic letters.
play=(cmake g++ make pkgconf qt6-base-dev libgl-dev libxcb1-dev fonts-dejavu-core)
# cpack's .deb generator: dpkg-shlibdeps, and file to find the binaries.
pack=(dpkg-dev file)
test=(
    # tests and benchmarks
    libgtest-dev libbenchmark-dev clang-format
    # the sanitizer build: clang with its sanitizer runtimes
    clang libclang-rt-dev
    # end-to-end tests, screenshots and the process benchmark: a display
    # server, a window manager, input, another program's window (xmessage)
    # and window events (xev, both in x11-utils), pictures, Perl's timer
    xvfb xauth openbox xdotool x11-utils imagemagick perl
    # dbus-launch, which would start a bus daemon for a program outside a
    # login session: the game must not let it
    dbus-x11
    # a panel, other window managers, requests to them for a window's state,
    # and monitors and screen sizes to change
    tint2 icewm fluxbox kwin-x11 wmctrl x11-xserver-utils
    # a Wayland session with XWayland, and Qt's Wayland plugin that the game
    # must not pick there
    weston xwayland qt6-wayland
    # packaging: .deb building and checks of the desktop entry, AppStream
    # data, icon, manual page, the packed binary's libraries and hardening,
    # Debian's own checks of the package, and what differs between two builds
    desktop-file-utils appstream librsvg2-bin groff-base binutils lintian
    devscripts diffoscope-minimal
    # the UI tests under a memory checker
    valgrind
)

case ${1:-} in
play) packages=("${play[@]}") ;;
pack) packages=("${play[@]}" "${pack[@]}") ;;
test) packages=("${play[@]}" "${pack[@]}" "${test[@]}") ;;
*)
    echo "usage: $0 play|pack|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        sudo=(sudo)
    else
        echo "error: these Debian packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
