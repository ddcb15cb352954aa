#!/usr/bin/env bash
# Typing speed and exactness: the same 5,000 characters typed into the same
# window by SendKeys and by `xdotool type --delay 0`, an ASCII text and a
# text with characters the US layout lacks; prints characters per second and
# the characters that arrived wrong for each.
#
#   bench/typing.sh [path/to/ordwell_bench_typing]   (default: the release build)
#
# xdotool is needed for the comparison only, never by ordwell itself:
#   sudo apt-get install xdotool
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bench="${1:-$here/../build/release/bench/ordwell_bench_typing}"
if ! command -v xdotool >/dev/null; then
    echo "xdotool is not installed; for the comparison: sudo apt-get install xdotool" >&2
    exit 2
fi
if [ ! -x "$bench" ]; then
    echo "$bench is not built: cmake --preset release && cmake --build --preset release" >&2
    exit 2
fi
exec "$bench"
