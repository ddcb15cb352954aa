#!/usr/bin/env bash
# Installs the Debian 12 packages Ordwell needs to build, run and test, then
# configures and builds the given CMake preset (default: release): all of it,
# or only the targets named after the preset.
# Quick when everything is already there.
#
#   scripts/setup.sh [PRESET [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    libsqlite3-dev libgtest-dev
    qt6-base-dev qt6-wayland libx11-dev libx11-xcb-dev libxcb1-dev libxtst-dev libxi-dev libxkbcommon-dev
    libxcb-res0-dev
    xvfb xauth x11-utils x11-xkb-utils dbus libsystemd-dev libexpat1-dev time
    libsndfile1-dev libpulse-dev
    # the Wayland backend (wayland-scanner comes with libwayland-dev)
    libwayland-dev wayland-protocols
    # for the tests: a private sound server with a null sink, a window manager,
    # Python's D-Bus modules for the example DDE server, pdftotext to read
    # printed macros back, dbus-launch (which a run must not leave behind);
    # receivers of typed text of three toolkits (xterm, Tk, GTK 3)
    pulseaudio openbox python3-dbus python3-gi poppler-utils dbus-x11
    xterm python3-tk gir1.2-gtk-3.0
    # a headless Wayland compositor with the wlroots protocols, the Qt
    # platform plugin a native Wayland receiver and the editor use, and a
    # terminal and virtual-keyboard typer to cross-check by hand and compare
    sway foot wtype qt6-wayland
    # for the check of the Debian package: what a desktop reads it with
    xdg-utils desktop-file-utils shared-mime-info man-db
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]})); then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# sway refuses to run as root: when the tests run as root, they run it (and
# their Wayland programs) as this unprivileged user.
if [ "$(id -u)" -eq 0 ] && ! id ordwell-test >/dev/null 2>&1; then
    useradd --system --create-home --shell /usr/sbin/nologin ordwell-test
fi

preset="${1:-release}"
targets=("${@:2}")
cmake --preset "$preset" >/dev/null
if ((${#targets[@]})); then
    cmake --build --preset "$preset" --target "${targets[@]}"
else
    cmake --build --preset "$preset"
fi
