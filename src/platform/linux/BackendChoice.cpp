#include "BackendChoice.h"

namespace ordwell {

namespace {

// Why the X display cannot serve, in words; empty when it can.
std::string X11Absence(const DesktopFindings& found) {
    if (!found.x11Built) {
        return "this build has no X11 backend";
    }
    if (found.x11Display.empty()) {
        return "no X display is named (DISPLAY)";
    }
    if (!found.x11Answers) {
        return "the X display " + found.x11Display + " does not answer";
    }
    return {};
}

// What a Wayland session without a usable compositor lacks, in words.
std::string WaylandAbsence(const DesktopFindings& found) {
    const std::string name = found.waylandDisplay;
    switch (found.wayland) {
    case WaylandAnswer::Silent:
        return "no Wayland compositor answers at " + name;
    case WaylandAnswer::NotBuilt:
        return "this build has no Wayland backend for the compositor at " + name;
    case WaylandAnswer::LacksProtocols:
        return "the Wayland compositor at " + name + " lacks " + found.waylandLacks;
    case WaylandAnswer::NotNamed:
    case WaylandAnswer::Offers:
        break;
    }
    return {};
}

bool WaylandAnswers(WaylandAnswer answer) {
    return answer == WaylandAnswer::NotBuilt || answer == WaylandAnswer::LacksProtocols ||
           answer == WaylandAnswer::Offers;
}

} // namespace

BackendChoice ChooseBackends(const DesktopFindings& found) {
    BackendChoice choice;
    const std::string x11Absence = X11Absence(found);
    if (found.wayland == WaylandAnswer::Offers) {
        choice.desktop = BackendChoice::Desktop::Wayland;
        choice.desktopReason = "WAYLAND_DISPLAY=" + found.waylandDisplay;
    } else if (x11Absence.empty()) {
        choice.desktop = BackendChoice::Desktop::X11;
        choice.desktopReason = "DISPLAY=" + found.x11Display;
    } else {
        const bool nothingNamed = found.x11Display.empty() && found.x11Built;
        choice.desktopReason = found.wayland != WaylandAnswer::NotNamed ? WaylandAbsence(found)
                               : nothingNamed                           ? "no display"
                                                                        : x11Absence;
    }

    if (found.wayland != WaylandAnswer::NotNamed && found.wayland != WaylandAnswer::Offers) {
        const std::string lack = WaylandAbsence(found);
        choice.notice =
            choice.desktop == BackendChoice::Desktop::X11
                ? lack + ": windows, keys and clicks reach only XWayland windows, through X11 (DISPLAY=" +
                      found.x11Display + "); native Wayland windows are out of reach"
                : lack + ", and " + x11Absence + ": window, key and click commands find no windows and answer FALSE";
    }

    const bool x11Display = found.x11Answers;
    const bool waylandDisplay = WaylandAnswers(found.wayland);
    choice.qt = found.qtBuilt && (x11Display || waylandDisplay);
    if (choice.qt && found.qtPlatform.empty() && x11Display != waylandDisplay) {
        choice.qtPlatform = x11Display ? "xcb" : "wayland";
    }
    return choice;
}

} // namespace ordwell
