#!/usr/bin/env bash
# Draws the pictures of the editor in docs/screenshots/ on a private X server
# (Xvfb), as the program looks on an X display: the main window, the Command
# Wizard on three commands, each picker and the help window.
#
#     scripts/screenshots.sh [build preset, default: debug]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
cmake --build --preset "$preset" --target editor_screenshots >/dev/null

workdir=$(mktemp -d)
cleanup() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

mkfifo "$workdir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
if ! read -r -t 30 display <"$workdir/display"; then
    echo "Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi

# A clean home: no settings, the first-start layout.
env -i PATH="$PATH" HOME="$workdir" XDG_CONFIG_HOME="$workdir/config" XDG_RUNTIME_DIR="$workdir" \
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
    "build/$preset/tests/editor_screenshots" docs/screenshots
