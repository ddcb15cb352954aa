# The Debian package: `cpack -G DEB` in a build folder writes
# ordwell_<version>_<arch>.deb with everything `cmake --install` puts in place,
# under /usr.
#
# No maintainer scripts: the MIME database, the applications' MIME cache, the
# icon cache and the manual page index are brought up to date by the dpkg
# triggers of shared-mime-info, desktop-file-utils, the icon theme and man-db,
# which fire on files in the folders they watch.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ordwell)
set(CPACK_PACKAGE_VENDOR Halvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write and run macros that automate the Linux desktop")
set(CPACK_PACKAGE_DESCRIPTION [[Ordwell runs macros: plain text files of one-line commands that start
programs, type keys into windows, move and close windows, read and write
files, INI files and a registry, show message boxes and talk to other
programs over D-Bus. A macro runs headless with `ordwell /r macro.ow`, on
the terminal when there is no display; the editor builds its lines with a
wizard and explains every command.]])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ordwell maintainers <maintainers@users.noreply.c-seed-d0c4270c.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens documents that RunProgram is given and is the default external
# editor; Qt's Wayland plugin shows boxes and the editor on a Wayland display;
# lp prints; a sound server plays PlaySound's files.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client, pulseaudio | pipewire-pulse")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
