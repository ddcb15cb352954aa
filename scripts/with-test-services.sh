#!/usr/bin/env bash
# Runs a command with the services the tests need: a private X server (Xvfb)
# and a private D-Bus session bus. Both end with the command.
set -euo pipefail

cleanup() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "${dbus_pid:-}" ] && kill "$dbus_pid" 2>/dev/null || true
    [ -n "${workdir:-}" ] && rm -rf "$workdir"
}
trap cleanup EXIT
workdir=$(mktemp -d)

# Xvfb picks a free display and writes its number once it accepts clients.
mkfifo "$workdir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
if ! read -r -t 30 display <"$workdir/display"; then
    echo "Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
export DBUS_SESSION_BUS_ADDRESS
dbus_pid=$(sed -n 2p <<<"$bus")

"$@"
