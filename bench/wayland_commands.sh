#!/usr/bin/env bash
# Typing speed and exactness on a private headless sway, SendKeys beside
# wtype (an ASCII text and one with characters the US layout lacks), and
# FindWindow among 200 toplevels.
#
#   bench/wayland_commands.sh [path/to/ordwell_bench_wayland]   (default: the release build)
#
# wtype is needed for the comparison only, never by ordwell itself:
#   sudo apt-get install wtype
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bench="${1:-$here/../build/release/bench/ordwell_bench_wayland}"
if ! command -v wtype >/dev/null; then
    echo "wtype is not installed; for the comparison: sudo apt-get install wtype" >&2
    exit 2
fi
if [ ! -x "$bench" ]; then
    echo "$bench is not built: cmake --preset release && cmake --build --preset release" >&2
    exit 2
fi
exec "$bench"
