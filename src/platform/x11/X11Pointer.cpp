#include "X11Pointer.h"

#include "X11Connection.h"
#include "X11Reply.h"

namespace ordwell {

// The click is the window's own: ButtonPress and ButtonRelease events sent
// (XSendEvent) to the deepest window under the point, in its coordinates, as
// the server would report a click there, with no pointer motion and no
// change of focus. They go to the program that made the window, whatever
// events it selected, and never to another program, as a click that
// propagated to a window manager's frame would. Programs that read core
// events take them (Xlib and Xt programs, Motif, Tk); xterm only with
// allowSendEvents. GTK 3 and 4 and Qt 5 and 6 read the pointer through
// XInput 2 and do not look at such events.
bool X11Pointer::Click(int x, int y, bool doubleClick) {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    if (x < 0 || y < 0 || x > 0x7FFF || y > 0x7FFF) {
        return false;
    }
    xcb_window_t window = root;
    std::int16_t windowX = static_cast<std::int16_t>(x);
    std::int16_t windowY = static_cast<std::int16_t>(y);
    for (int depth = 0; depth < 64; ++depth) {
        const X11Reply<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(
            xcb,
            xcb_translate_coordinates(xcb, root, window, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)),
            nullptr));
        if (!place || !place->same_screen) {
            return false;
        }
        windowX = place->dst_x;
        windowY = place->dst_y;
        if (place->child == XCB_WINDOW_NONE) {
            break;
        }
        window = place->child;
    }
    const X11Reply<xcb_get_geometry_reply_t> screen(xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, root), nullptr));
    if (window == root || !screen || x >= screen->width || y >= screen->height) {
        return false;
    }
    const xcb_timestamp_t time = m_connection.ServerTime();
    const auto send = [&](std::uint8_t type, std::uint16_t state) {
        xcb_button_press_event_t event{};
        event.response_type = type;
        event.detail = XCB_BUTTON_INDEX_1;
        event.time = time;
        event.root = root;
        event.event = window;
        event.child = XCB_WINDOW_NONE;
        event.root_x = static_cast<std::int16_t>(x);
        event.root_y = static_cast<std::int16_t>(y);
        event.event_x = windowX;
        event.event_y = windowY;
        event.state = state;
        event.same_screen = 1;
        // No event mask: to the program that made the window.
        xcb_send_event(xcb, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    };
    for (int click = 0; click < (doubleClick ? 2 : 1); ++click) {
        send(XCB_BUTTON_PRESS, 0);
        send(XCB_BUTTON_RELEASE, XCB_BUTTON_MASK_1);
    }
    // A round trip: the server has sent the events once it answers.
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    return true;
}

} // namespace ordwell
