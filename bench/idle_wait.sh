#!/usr/bin/env bash
# Processor time that ordwell spends in a long wait: runs a macro of
# Delay(3000) headless and prints user+system seconds (GNU time, whose
# resolution is 10 ms). A wait that sleeps on
# its event source uses well under 0.1 s; one that polls uses about 3 s.
#
#   bench/idle_wait.sh [path/to/ordwell]     (default: build/debug/src/shell/ordwell)
#
# With DISPLAY set and openable, the Qt event pump is measured; unset DISPLAY
# to measure the terminal one.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ordwell="${1:-$here/../build/debug/src/shell/ordwell}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

printf 'Delay(3000)\n' > "$work/idle.ow"
cd "$work"
export XDG_CONFIG_HOME="$work/config"

/usr/bin/time -f '%U %S' -o "$work/cpu" "$ordwell" /r idle.ow < /dev/null
read -r user sys < "$work/cpu"
awk -v u="$user" -v s="$sys" 'BEGIN {
    total = u + s
    printf "idle wait of 3 s: user %.2f s, system %.2f s, total %.2f s (goal: well under 0.1 s)\n", u, s, total
    exit total < 0.1 ? 0 : 1
}'
