#!/usr/bin/env bash
# Sets up a Debian 12 machine for Nodalis, builds it, then starts it or tests it.
#   scripts/build.sh run      build the program and start it
#   scripts/build.sh test     build everything and run the whole test suite
#   scripts/build.sh asan     the same suite built with AddressSanitizer and UBSan
#   scripts/build.sh package  build the program and make its Debian package in build/release
# Packages that are missing are installed with apt-get, through sudo when not root.
set -euo pipefail

cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6 fonts-dejavu-core
    qt6-wayland # runs the program natively on a Wayland desktop without XWayland
)
package_packages=(
    dpkg-dev file # CPack finds the package's dependencies with dpkg-shlibdeps
)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev
    xvfb xauth x11-utils xdotool imagemagick poppler-utils
    openbox tint2 # a window manager and a panel, for the windows on a small screen
    qt6-gtk-platformtheme # the windows under GNOME's dark theme
    dbus-daemon at-spi2-core python3 python3-pyatspi python3-xlib # the end-to-end journey
    clang libclang-rt-14-dev # the fuzzers: clang with libFuzzer and the sanitizer runtimes
    cups cups-client printer-driver-cups-pdf # the printing test's own print server
    weston # a Wayland compositor without a screen, for the program on Wayland
    desktop-file-utils appstream shared-mime-info # checks of the installed files
    "${package_packages[@]}"                      # and of the .deb
)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build release
    exec build/release/app/nodalis
    ;;
package)
    install_missing "${packages[@]}" "${package_packages[@]}"
    build release
    (cd build/release && cpack)
    ;;
test | asan)
    preset=$([ "$1" = test ] && echo dev || echo asan)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build "$preset"
    ctest --preset "$preset"
    ;;
*)
    echo "usage: $0 run|test|asan|package" >&2
    exit 2
    ;;
esac
