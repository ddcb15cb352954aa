#include "X11Pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <optional>

#include "X11Connection.h"
#include "X11ReadReceipt.h"
#include "X11Reply.h"

namespace ordwell {

namespace {

// The largest coordinate a request can carry.
constexpr int kMaxCoordinate = 0x7FFF;
// How long the pointer stays on a click for the program to read it.
constexpr std::uint32_t kReadBoundMs = 1000;
// How often the buttons are looked at while a grab holds the click back.
constexpr std::uint32_t kHeldLookMs = 2;

// The deepest window at a point of the screen, and the point in its
// coordinates.
struct Place {
    xcb_window_t window = XCB_WINDOW_NONE;
    std::int16_t x = 0;
    std::int16_t y = 0;
};

std::optional<Place> DeepestWindowAt(X11Connection& connection, int x, int y) {
    xcb_connection_t* xcb = connection.Xcb();
    const xcb_window_t root = connection.Root();
    Place place{root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    for (int depth = 0; depth < 64; ++depth) {
        const X11Reply<xcb_translate_coordinates_reply_t> below(xcb_translate_coordinates_reply(
            xcb,
            xcb_translate_coordinates(xcb, root, place.window, static_cast<std::int16_t>(x),
                                      static_cast<std::int16_t>(y)),
            nullptr));
        if (!below || !below->same_screen) {
            return std::nullopt;
        }
        place.x = below->dst_x;
        place.y = below->dst_y;
        if (below->child == XCB_WINDOW_NONE) {
            break;
        }
        place.window = below->child;
    }
    return place;
}

// Whether the server has played the click's events: the last of them is the
// release of the first button, so it has once that button is up. A button
// event held back by a frozen grab has not changed the buttons' state yet.
bool FirstButtonUp(X11Connection& connection) {
    xcb_connection_t* xcb = connection.Xcb();
    const X11Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(xcb, xcb_query_pointer(xcb, connection.Root()), nullptr));
    return !pointer || (pointer->mask & XCB_BUTTON_MASK_1) == 0;
}

} // namespace

X11Pointer::X11Pointer(X11Connection& connection) : m_connection(connection) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    m_xtest = XTestQueryExtension(connection.Xlib(), &event, &error, &major, &minor) != 0;
}

// A click is refused outside the screen and where no window is (the bare
// root), whichever way it is delivered.
bool X11Pointer::Click(int x, int y, bool doubleClick) {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    if (x < 0 || y < 0 || x > kMaxCoordinate || y > kMaxCoordinate) {
        return false;
    }
    const X11Reply<xcb_get_geometry_reply_t> screen(xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, root), nullptr));
    if (!screen || x >= screen->width || y >= screen->height) {
        return false;
    }
    const X11Reply<xcb_translate_coordinates_reply_t> top(xcb_translate_coordinates_reply(
        xcb, xcb_translate_coordinates(xcb, root, root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)),
        nullptr));
    if (!top || top->child == XCB_WINDOW_NONE) {
        return false;
    }
    const int clicks = doubleClick ? 2 : 1;
    return m_xtest ? ClickThroughXTest(x, y, clicks) : SendClickEvents(x, y, clicks);
}

// The pointer moves to the point, the button goes down and up (twice, back
// to back, for a double click, well within any toolkit's double-click time),
// and once the server has played all of it (a window manager's grab may
// hold it back a while), and the program clicked has read it where it can
// tell, the pointer goes back. Nothing waits between a press
// and its release, so no stop and no failure leaves the button down: the
// events leave in one buffer.
bool X11Pointer::ClickThroughXTest(int x, int y, int clicks) {
    Display* display = m_connection.Xlib();
    const int screen = DefaultScreen(display);
    ::Window pointerRoot = None;
    ::Window child = None;
    int fromX = 0;
    int fromY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    const bool sameScreen = XQueryPointer(display, m_connection.Root(), &pointerRoot, &child, &fromX, &fromY, &windowX,
                                          &windowY, &mask) != False;
    XTestFakeMotionEvent(display, screen, x, y, CurrentTime);
    for (int click = 0; click < clicks; ++click) {
        XTestFakeButtonEvent(display, Button1, True, CurrentTime);
        XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    }
    // The server has taken the clicks once it answers.
    XSync(display, False);
    if (m_connection.Broken()) {
        return false;
    }
    // It may not have played them yet. A window manager that focuses on
    // click (openbox) grabs the button on its clients' windows with the
    // pointer frozen: the server plays nothing after the press until the
    // manager lets the press go on to the program, and then plays what it
    // held where the pointer is by then. A pointer moved back meanwhile
    // takes the rest of the clicks with it, away from the program (GTK lost
    // the second press of a double click so). The server tells no other
    // client when a grab lets go, so the buttons are looked at until it has
    // played the last release (or the bound passes).
    const auto heldUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadBoundMs);
    while (!FirstButtonUp(m_connection) && !m_connection.Broken() && std::chrono::steady_clock::now() < heldUntil) {
        m_connection.WaitFor(kHeldLookMs, [] { return false; });
    }
    // Some toolkits (Qt) drop a click whose release they read together with
    // the pointer leaving: where the program answers pings, the pointer
    // stays until it says it has read the click (or a stop comes, or the
    // bound passes).
    if (const std::optional<Place> place = DeepestWindowAt(m_connection, x, y)) {
        X11ReadReceipt(m_connection).ReadBy(place->window, kReadBoundMs);
    }
    // Back where it was; a pointer on another screen of the display stays
    // on ours, at the point.
    if (sameScreen) {
        XTestFakeMotionEvent(display, screen, fromX, fromY, CurrentTime);
        XSync(display, False);
    }
    return !m_connection.Broken();
}

// Without XTest the click is the window's own: ButtonPress and
// ButtonRelease events sent (XSendEvent) to the deepest window under the
// point, in its coordinates, as the server would report a click there, with
// no pointer motion and no change of focus. They go to the program that made the window, whatever
// events it selected, and never to another program, as a click that
// propagated to a window manager's frame would. Programs that read core
// events take them (Xlib and Xt programs, Motif, Tk); xterm only with
// allowSendEvents. GTK 3 and 4 and Qt 5 and 6 read the pointer through
// XInput 2 and do not look at such events.
bool X11Pointer::SendClickEvents(int x, int y, int clicks) {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    const std::optional<Place> place = DeepestWindowAt(m_connection, x, y);
    if (!place || place->window == root) {
        return false;
    }
    const xcb_window_t window = place->window;
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
        event.event_x = place->x;
        event.event_y = place->y;
        event.state = state;
        event.same_screen = 1;
        // No event mask: to the program that made the window.
        xcb_send_event(xcb, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    };
    for (int click = 0; click < clicks; ++click) {
        send(XCB_BUTTON_PRESS, 0);
        send(XCB_BUTTON_RELEASE, XCB_BUTTON_MASK_1);
    }
    // A round trip: the server has sent the events once it answers.
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    return true;
}

} // namespace ordwell
