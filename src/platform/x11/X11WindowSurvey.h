#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace ordwell {

class X11Connection;

// What the backend knows of one window after a survey.
struct X11WindowFacts {
    // ICCCM WM_STATE values.
    static constexpr std::uint32_t kWithdrawn = 0;
    static constexpr std::uint32_t kNormal = 1;
    static constexpr std::uint32_t kIconic = 3;

    xcb_window_t id = XCB_WINDOW_NONE;
    bool exists = false;
    std::string title; // UTF-8, whole
    std::uint8_t mapState = XCB_MAP_STATE_UNMAPPED;
    bool hasWmState = false;
    std::uint32_t wmState = kWithdrawn;
    xcb_window_t owner = XCB_WINDOW_NONE; // WM_TRANSIENT_FOR
    std::int64_t processId = 0;           // _NET_WM_PID, else the client's process as the server knows it
    // Read only when asked for (SurveyDepth::Full).
    std::vector<xcb_atom_t> protocols; // WM_PROTOCOLS
    std::vector<xcb_atom_t> netState;  // _NET_WM_STATE

    bool Iconic() const { return hasWmState && wmState == kIconic && mapState != XCB_MAP_STATE_VIEWABLE; }
    // Shown on screen, or minimized: a window that is mapped (its frame may
    // be on another desktop), or iconic.
    bool Visible() const { return mapState != XCB_MAP_STATE_UNMAPPED || Iconic(); }
    bool Owned() const { return owner != XCB_WINDOW_NONE; }
    bool Has(xcb_atom_t state) const;
    bool Speaks(xcb_atom_t protocol) const;
};

enum class SurveyDepth {
    Lookup, // titles, map state, owner, process; WM_STATE only where it tells
            // something (windows not viewable, or untitled)
    Full,   // WM_STATE always, the protocols and the EWMH states
};

// Reads the facts of many windows at once: every request is sent before the
// first reply is awaited, so the survey costs two round trips however many
// windows there are. A window that is gone comes back with exists false.
std::vector<X11WindowFacts> SurveyWindows(X11Connection& connection, std::span<const xcb_window_t> windows,
                                          SurveyDepth depth = SurveyDepth::Lookup);

X11WindowFacts SurveyWindow(X11Connection& connection, xcb_window_t window, SurveyDepth depth = SurveyDepth::Full);

} // namespace ordwell
