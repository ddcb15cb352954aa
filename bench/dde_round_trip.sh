#!/usr/bin/env bash
# Time of DDE commands over D-Bus, on a private session bus with the test
# server: a DdeCommand (join the bus, find the topic, send, leave), a script
# line (one more execute string on an open conversation), a DdeCommand to a
# service nobody owns, and a DdeCommand without any session bus. Each case
# runs its command 500 times in one headless run and prints the time per
# command, which includes a share of the program's start. Last, three
# DdeCommands the server answers too late: about 1 s each, and the processor
# time they take (a wait that sleeps takes next to none).
#
#   bench/dde_round_trip.sh [build directory]   (default: build/release)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(realpath "${1:-$here/../build/release}")"
ordwell="$build/src/shell/ordwell"
server="$build/tests/ordwell_dde_test_server"
work="$(mktemp -d)"
cleanup() {
    [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null || true
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export HOME="$work" XDG_CONFIG_HOME="$work/config"
unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$work/bus")
address=$(sed -n 1p <<<"$bus")
bus_pid=$(sed -n 2p <<<"$bus")
mkfifo ready
"$server" --bus "$address" --record records --slow "[Slow]" --delay 5000 Shop System >ready &
server_pid=$!
exec 3<ready
read -r _ <&3
# The server goes on reporting every record; a reader must stay.
cat <&3 >/dev/null &

count=500
# For ends at a FALSE line; If keeps it going.
printf 'For(0,%d,If(DdeCommand(Shop,System,[Hello]),DoNothing(),DoNothing()))\n' "$count" >command.ow
printf 'For(0,%d,If(DdeCommand(Nobody,System,[Hello]),DoNothing(),DoNothing()))\n' "$count" >nobody.ow
for ((i = 0; i < count; i++)); do printf '[Line %d]\n' "$i"; done >script.txt
printf 'DdeScript(Shop,System,script.txt)\n' >script.ow
printf 'For(0,3,If(DdeCommand(Shop,System,[Slow]),DoNothing(),DoNothing()))\n' >slow.ow

run() { # name, macro, environment...
    local name=$1 macro=$2
    shift 2
    local start end
    start=$(date +%s%N)
    env "$@" "$ordwell" /r "$macro" </dev/null >/dev/null
    end=$(date +%s%N)
    awk -v n="$name" -v t="$((end - start))" -v c="$count" \
        'BEGIN { printf "%-34s %8.3f ms per command\n", n, t / c / 1e6 }'
}
run "DdeCommand to a served topic" command.ow DBUS_SESSION_BUS_ADDRESS="$address"
run "script line to a served topic" script.ow DBUS_SESSION_BUS_ADDRESS="$address"
run "DdeCommand to an unowned name" nobody.ow DBUS_SESSION_BUS_ADDRESS="$address"
run "DdeCommand without a session bus" command.ow
echo "execute strings received: $(wc -l <records) (expected $((2 * count)))"
/usr/bin/time -f '%e %U %S' -o slow.time env DBUS_SESSION_BUS_ADDRESS="$address" "$ordwell" /r slow.ow </dev/null
read -r wall user sys <slow.time
awk -v w="$wall" -v u="$user" -v s="$sys" \
    'BEGIN { printf "3 unanswered DdeCommands: %.2f s, processor %.2f s\n", w, u + s }'
