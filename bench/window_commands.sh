#!/usr/bin/env bash
# FindWindow and ActivateWindow among 200 windows of another program, on a
# private Xvfb with openbox, beside xdotool on the same windows; prints the
# times and their ratios.
#
#   bench/window_commands.sh [path/to/ordwell_bench_windows]   (default: the debug build)
#
# xdotool is needed for the comparison only, never by ordwell itself:
#   sudo apt-get install xdotool
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bench="${1:-$here/../build/debug/bench/ordwell_bench_windows}"
if ! command -v xdotool >/dev/null; then
    echo "xdotool is not installed; for the comparison: sudo apt-get install xdotool" >&2
    exit 2
fi
exec "$bench"
