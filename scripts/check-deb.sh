#!/usr/bin/env bash
# Makes the Debian package from a built folder and checks it on this machine
# as a user's desktop would see it: it installs with apt, `ordwell --version`
# runs from PATH, a macro runs with no display and with a box and a window
# command on a private Xvfb, the desktop entry is valid and opens a file, macro files
# have their MIME type and open with Ordwell by default, and `man ordwell`
# shows the manual page. Then it removes the package and checks that all of
# it is gone. Needs root (or sudo) and the packages of scripts/setup.sh.
#
#     scripts/check-deb.sh [built folder, default: build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
apt_get() { DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "$@"; }
fail() {
    echo "check-deb: $*" >&2
    exit 1
}
installed() { dpkg-query -W -f='${Status}' ordwell 2>/dev/null | grep -q "install ok installed"; }

for tool in cpack xdg-mime desktop-file-validate man update-mime-database; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/setup.sh installs it"
done
# The check removes the package at the end: it must not take away one that
# was there before.
if installed; then
    fail "ordwell is installed already; remove it first (apt-get remove ordwell)"
fi

workdir=$(mktemp -d)
cleanup() {
    if installed; then
        apt_get remove -y -qq ordwell >/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT

# The package.
rm -f "$build"/ordwell_*.deb
(cd "$build" && cpack -G DEB) >"$workdir/cpack.log" 2>&1 || {
    cat "$workdir/cpack.log" >&2
    fail "cpack failed"
}
debs=("$build"/ordwell_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "no single ordwell_*.deb in $build"; fi
deb="${debs[0]}"
version=$(dpkg-deb -f "$deb" Version)
echo "== $deb"
dpkg-deb -f "$deb" Depends Recommends Suggests

# Installed as a user would install it.
apt_get install -y -qq "./$deb" >"$workdir/install.log" 2>&1 || {
    cat "$workdir/install.log" >&2
    fail "apt-get install failed"
}

# The program, from PATH.
[ "$(command -v ordwell)" = /usr/bin/ordwell ] || fail "ordwell is not /usr/bin/ordwell on PATH"
[ "$(ordwell --version)" = "ordwell $version" ] || fail "ordwell --version says '$(ordwell --version)'"

# The modules and the desktop program beside it, and what they serve: a run
# with no display (the light program alone), a box on a display and a window
# command there (the toolkit and x11 modules).
for file in ordwell-desktop libordwell-qt.so libordwell-sound.so libordwell-dbus.so libordwell-x11.so libordwell-wayland.so; do
    [ -e "/usr/lib/ordwell/$file" ] || fail "/usr/lib/ordwell/$file is missing"
done
printf 'MessageBox(no display)\n' >"$workdir/headless.ow"
[ "$(cd "$workdir" && env -u DISPLAY -u WAYLAND_DISPLAY ordwell /r headless.ow)" = "[Ordwell] no display" ] ||
    fail "a run with no display did not print its box"
if command -v Xvfb >/dev/null; then
    mkfifo "$workdir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 30 display <"$workdir/display" || fail "Xvfb did not start"
    printf 'MessageBox(from the package)\nWriteToFile(box.txt,%%R)\n' >"$workdir/box.ow"
    # The box waits for an answer; a second run finds it with a window
    # command and closes it, which answers it.
    printf 'If(FindWindow(Ordwell),WriteToFile(found.txt,yes))\nCloseWindow(Ordwell)\n' >"$workdir/close.ow"
    (cd "$workdir" && env -u WAYLAND_DISPLAY DISPLAY=":$display" ordwell /r box.ow) &
    box_pid=$!
    for _ in $(seq 100); do
        (cd "$workdir" && env -u WAYLAND_DISPLAY DISPLAY=":$display" ordwell /r close.ow) || true
        [ -e "$workdir/found.txt" ] && break
        sleep 0.2
    done
    wait "$box_pid" || fail "the run with a box failed"
    kill "$xvfb_pid"
    [ -e "$workdir/found.txt" ] || fail "a window command did not find the box"
    [ -e "$workdir/box.txt" ] || fail "the run with a box did not go on after it was closed"
    echo "a box shown on a display, found and closed by a window command"
else
    echo "no Xvfb: the box and the window command are not checked"
fi

# The desktop entry: valid, and a file manager's "open" runs the editor on the file.
entry=/usr/share/applications/ordwell.desktop
desktop-file-validate "$entry" || fail "$entry is not valid"
grep -qx 'Exec=ordwell %f' "$entry" || fail "$entry does not start ordwell on the file"
for size in 16x16 48x48 256x256 scalable; do
    ls /usr/share/icons/hicolor/$size/apps/ordwell.* >/dev/null || fail "no $size icon"
done

# Macro files: the shared-mime-info trigger put *.ow into the MIME database,
# and the desktop-file-utils trigger made Ordwell the application for them.
grep -qx 'application/x-ordwell-macro:\*\.ow' /usr/share/mime/globs ||
    fail "*.ow is not in the MIME database"
# xdg-mime as on a desktop it does not know, with a home of no choices of its
# own, reads the system's defaults.
query_default() {
    env -i PATH="$PATH" HOME="$workdir" xdg-mime query default application/x-ordwell-macro
}
[ "$(query_default)" = ordwell.desktop ] || fail "xdg-mime names '$(query_default)' for macro files"

# The manual page. Slim images tell dpkg to leave out /usr/share/man
# (path-exclude in /etc/dpkg/dpkg.cfg.d); then the page is read from the
# package itself.
page=/usr/share/man/man1/ordwell.1.gz
dpkg-deb -c "$deb" | grep "\./usr/share/man/man1/ordwell\.1\.gz$" >/dev/null || fail "the package has no manual page"
if [ -f "$page" ]; then
    [ "$(man -w ordwell)" = "$page" ] || fail "man finds '$(man -w ordwell)', not $page"
    man ordwell >"$workdir/man.txt" 2>&1 || fail "man ordwell failed"
else
    echo "dpkg left out $page (path-exclude); reading it from the package"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/ordwell.1.gz >"$workdir/ordwell.1.gz"
    man -l "$workdir/ordwell.1.gz" >"$workdir/man.txt" 2>&1 || fail "man -l failed on the packaged page"
fi
grep -q "ordwell - write and run macros" "$workdir/man.txt" || fail "the manual page has no NAME line"
grep -q "EXIT STATUS" "$workdir/man.txt" || fail "the manual page has no EXIT STATUS"

# Removed again: the program, its files and what the triggers made of them.
apt_get remove -y -qq ordwell >"$workdir/remove.log" 2>&1 || {
    cat "$workdir/remove.log" >&2
    fail "apt-get remove failed"
}
if installed; then fail "ordwell is still installed"; fi
hash -r
if command -v ordwell >/dev/null; then fail "ordwell is still on PATH"; fi
for file in /usr/bin/ordwell /usr/lib/ordwell "$entry" /usr/share/mime/packages/ordwell.xml "$page" \
    /usr/share/icons/hicolor/scalable/apps/ordwell.svg; do
    if [ -e "$file" ]; then fail "$file is still there"; fi
done
if grep -q 'application/x-ordwell-macro' /usr/share/mime/globs; then
    fail "*.ow is still in the MIME database"
fi
[ -z "$(query_default)" ] || fail "xdg-mime still names '$(query_default)' for macro files"
echo "== the package installs, works and goes again"
