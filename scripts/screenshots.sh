#!/usr/bin/env bash
# Draws the pictures of the editor in docs/screenshots/ on a private X server
# (Xvfb, started by with-test-services.sh), as the program looks on an X
# display: the main window, the Command Wizard on three commands, each picker,
# the help window, System Options, About, the splash and a print preview.
#
#     scripts/screenshots.sh [build preset, default: debug]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
cmake --build --preset "$preset" --target editor_screenshots >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# A clean home: no settings, the first-start layout.
scripts/with-test-services.sh sh -c 'exec env -i PATH="$PATH" HOME="$1" XDG_CONFIG_HOME="$1/config" \
    XDG_RUNTIME_DIR="$1" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb "$2" docs/screenshots' \
    screenshots "$home" "build/$preset/tests/editor_screenshots"
