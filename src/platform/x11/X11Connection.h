#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <xcb/xcb.h>

#include "X11Atoms.h"
#include "platform/EventPump.h"

typedef struct _XDisplay Display;

namespace ordwell {

// This program's own connection to the X display, apart from the toolkit's:
// an Xlib display (for the Xlib-only helpers, XKB among them) whose requests
// and events all go through its XCB connection. The window system and the
// keyboard share it.
//
// Events are read here only, and each is handed to every listener. The pump
// watches the connection for as long as it is open, so events never pile up
// unread; a wait (WaitFor) sleeps in the pump until an event makes its
// condition true, and so ends at once on a stop request too.
class X11Connection final {
public:
    using Listener = std::function<void(const xcb_generic_event_t&)>;

    // A listener's registration; it ends when this goes.
    class Listening final {
    public:
        Listening(X11Connection& connection, int id) : m_connection(&connection), m_id(id) {}
        ~Listening() { m_connection->m_listeners.erase(m_id); }
        Listening(const Listening&) = delete;
        Listening& operator=(const Listening&) = delete;

    private:
        X11Connection* m_connection;
        int m_id;
    };

    // Events of one window selected for this connection, for as long as this
    // lives; selections of the same window add up.
    class Selection final {
    public:
        Selection(X11Connection& connection, xcb_window_t window, int id)
            : m_connection(&connection), m_window(window), m_id(id) {}
        ~Selection() { m_connection->Unselect(m_window, m_id); }
        Selection(const Selection&) = delete;
        Selection& operator=(const Selection&) = delete;

    private:
        X11Connection* m_connection;
        xcb_window_t m_window;
        int m_id;
    };

    // Opens the display named by `displayName` (DISPLAY when null); null when
    // it cannot be opened.
    static std::unique_ptr<X11Connection> Open(EventPump& pump, const char* displayName = nullptr);
    // Takes over a display opened already (null when none was), on which
    // nothing has been read yet but replies.
    static std::unique_ptr<X11Connection> Open(EventPump& pump, Display* display);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* Xlib() const { return m_display; }
    xcb_connection_t* Xcb() const { return m_xcb; }
    xcb_window_t Root() const { return m_root; }
    const X11Atoms& Atoms() const { return m_atoms; }
    // The display went away: every request fails from now on.
    bool Broken() const;

    [[nodiscard]] std::unique_ptr<Listening> Listen(Listener listener);
    // Selects events (an xcb_event_mask_t) of any window, another program's
    // too; the selection is this connection's and changes no other.
    [[nodiscard]] std::unique_ptr<Selection> Select(xcb_window_t window, std::uint32_t mask);

    // Calls `broken` when the pump finds the connection broken (the display
    // went away, or was hung up on), where no toolkit on the same display
    // ends the program then.
    void WhenBroken(std::function<void()> broken) { m_whenBroken = std::move(broken); }

    // Hands every event that has arrived to the listeners, without waiting.
    void DispatchEvents();
    // Sleeps at most `ms` milliseconds, handing events to the listeners as
    // they come, until `done` answers true (asked first, and after every
    // event); true when it did. A broken connection ends the wait with false.
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done);

    // The server's time now, for requests that must carry a real timestamp
    // (activation, focus, close): the time of a change of a property of our
    // own window, read back in one round trip.
    xcb_timestamp_t ServerTime();

private:
    X11Connection(EventPump& pump, Display* display);
    void Deliver(const xcb_generic_event_t& event);
    void Unselect(xcb_window_t window, int id);
    void ApplySelections(xcb_window_t window);

    EventPump& m_pump;
    Display* m_display = nullptr;
    xcb_connection_t* m_xcb = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    // An unmapped window of our own, whose property changes tell the time.
    xcb_window_t m_clock = XCB_WINDOW_NONE;
    X11Atoms m_atoms;
    EventPump::EventId m_watch = 0;
    std::function<void()> m_whenBroken;
    std::map<int, Listener> m_listeners;
    int m_nextListener = 1;
    // The event masks selected on each window, by selection.
    std::map<xcb_window_t, std::map<int, std::uint32_t>> m_selections;
    int m_nextSelection = 1;
};

} // namespace ordwell
