#!/usr/bin/env bash
# Peak memory of small macros that could grow far out of proportion: a deep
# registry key, a large value inside many nested lines, date fields of huge
# widths, and a file of millions of blank lines. Prints each case's peak
# resident memory (GNU time's maximum resident set size).
#
#   bench/memory_cases.sh [path/to/ordwell]   (default: build/release/src/shell/ordwell)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ordwell="$(realpath "${1:-$here/../build/release/src/shell/ordwell}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME="$work" XDG_CONFIG_HOME="$work/config"
unset DISPLAY WAYLAND_DISPLAY

python3 - <<'PY'
parts = "\\".join("k%d" % i for i in range(10000))
open("deep_key.ow", "w").write('WriteToRegistry("HKEY_CURRENT_USER\\%s","v","x")\n' % parts)
line = "PutVar(%A," + "x" * (1 << 20) + ")"
for _ in range(190):
    line = "If(DoNothing()," + line + ")"
open("nested_if.ow", "w").write(line + "\n")
open("date_widths.ow", "w").write("GetDateTime(%A," + "%9999999c" * 250000 + ")\n")
open("blank_lines.ow", "w").write("\n" * (20 << 20))
PY

printf '%-28s %12s %14s\n' case "input bytes" "peak memory"
for macro in deep_key nested_if date_widths blank_lines; do
    /usr/bin/time -f '%M' -o time.txt "$ordwell" /r "$macro.ow" </dev/null >/dev/null 2>&1 || true
    printf '%-28s %12s %11s MiB\n' "$macro" "$(stat -c %s "$macro.ow")" "$(($(cat time.txt) / 1024))"
done
if [ -f config/ordwell/registry.sqlite ]; then
    printf '%-28s %12s %11s KiB\n' "registry store after deep_key" "" "$(($(du -k config/ordwell | tail -1 | cut -f1)))"
fi
