#pragma once

#include <xcb/xcb.h>

namespace ordwell {

// The atoms the X11 backend speaks, each as a member named after it (the
// leading underscore of the EWMH names dropped). Interned at once when the
// connection opens.
#define ORDWELL_X11_ATOMS(X)                                                                                           \
    X(UTF8_STRING, "UTF8_STRING")                                                                                      \
    X(COMPOUND_TEXT, "COMPOUND_TEXT")                                                                                  \
    X(WM_STATE, "WM_STATE")                                                                                            \
    X(WM_CHANGE_STATE, "WM_CHANGE_STATE")                                                                              \
    X(WM_PROTOCOLS, "WM_PROTOCOLS")                                                                                    \
    X(WM_DELETE_WINDOW, "WM_DELETE_WINDOW")                                                                            \
    X(NET_SUPPORTING_WM_CHECK, "_NET_SUPPORTING_WM_CHECK")                                                             \
    X(NET_CLIENT_LIST, "_NET_CLIENT_LIST")                                                                             \
    X(NET_CLIENT_LIST_STACKING, "_NET_CLIENT_LIST_STACKING")                                                           \
    X(NET_ACTIVE_WINDOW, "_NET_ACTIVE_WINDOW")                                                                         \
    X(NET_CLOSE_WINDOW, "_NET_CLOSE_WINDOW")                                                                           \
    X(NET_WM_NAME, "_NET_WM_NAME")                                                                                     \
    X(NET_WM_PID, "_NET_WM_PID")                                                                                       \
    X(NET_WM_PING, "_NET_WM_PING")                                                                                     \
    X(NET_WM_STATE, "_NET_WM_STATE")                                                                                   \
    X(NET_WM_STATE_MAXIMIZED_VERT, "_NET_WM_STATE_MAXIMIZED_VERT")                                                     \
    X(NET_WM_STATE_MAXIMIZED_HORZ, "_NET_WM_STATE_MAXIMIZED_HORZ")                                                     \
    /* Ours: a property whose change tells the server's time, and a window's */                                        \
    /* place before we maximized it where no window manager remembers it. */                                           \
    X(ORDWELL_TIME, "_ORDWELL_TIME")                                                                                   \
    X(ORDWELL_NORMAL_GEOMETRY, "_ORDWELL_NORMAL_GEOMETRY")

struct X11Atoms {
#define ORDWELL_X11_ATOM_MEMBER(member, name) xcb_atom_t member = XCB_ATOM_NONE;
    ORDWELL_X11_ATOMS(ORDWELL_X11_ATOM_MEMBER)
#undef ORDWELL_X11_ATOM_MEMBER

    // Interns them all with one round trip.
    static X11Atoms Intern(xcb_connection_t* connection);
};

} // namespace ordwell
