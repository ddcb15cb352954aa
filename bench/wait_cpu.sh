#!/usr/bin/env bash
# Processor share that ordwell uses while it waits: a WaitForProgram() for a
# program that runs 5 s, and a Delay(5000). Prints user+system time (GNU
# time, 10 ms resolution) as a share of the wall time; the goal is well under
# 1% of one processor.
#
#   bench/wait_cpu.sh [path/to/ordwell]     (default: build/debug/src/shell/ordwell)
#
# With DISPLAY set and openable, the Qt event pump is measured; unset DISPLAY
# to measure the terminal one.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ordwell="$(realpath "${1:-$here/../build/debug/src/shell/ordwell}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config"

printf 'RunProgram("sleep 5")\nWaitForProgram()\n' > program.ow
printf 'Delay(5000)\n' > delay.ow

status=0
for macro in program delay; do
    /usr/bin/time -f '%e %U %S' -o "$work/cpu" "$ordwell" /r "$macro.ow" < /dev/null
    read -r wall user sys < "$work/cpu"
    awk -v m="$macro" -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN {
        share = 100 * (u + s) / w
        printf "%-8s wall %.2f s, user %.2f s, system %.2f s: %.2f%% of a processor (goal: well under 1%%)\n", m, w, u, s, share
        exit share < 1 ? 0 : 1
    }' || status=1
done
exit $status
