#include "X11Connection.h"

#include <X11/Xlib-xcb.h>
#include <vector>

#include "X11Reply.h"

namespace ordwell {

std::unique_ptr<X11Connection> X11Connection::Open(EventPump& pump, const char* displayName) {
    return Open(pump, XOpenDisplay(displayName));
}

std::unique_ptr<X11Connection> X11Connection::Open(EventPump& pump, Display* display) {
    if (display == nullptr) {
        return nullptr;
    }
    // Before anything is read: events are XCB's to read, so that Xlib never
    // keeps one where XCB's reader cannot see it.
    XSetEventQueueOwner(display, XCBOwnsEventQueue);
    std::unique_ptr<X11Connection> connection(new X11Connection(pump, display));
    if (connection->Broken()) {
        return nullptr;
    }
    return connection;
}

X11Connection::X11Connection(EventPump& pump, Display* display)
    : m_pump(pump), m_display(display), m_xcb(XGetXCBConnection(display)) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_xcb));
    for (int n = XDefaultScreen(display); n > 0 && screens.rem > 0; --n) {
        xcb_screen_next(&screens);
    }
    m_root = screens.data->root;
    m_atoms = X11Atoms::Intern(m_xcb);

    m_clock = xcb_generate_id(m_xcb);
    const std::uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE}; // override-redirect, event mask
    xcb_create_window(m_xcb, XCB_COPY_FROM_PARENT, m_clock, m_root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_flush(m_xcb);
    m_watch = m_pump.Watch(xcb_get_file_descriptor(m_xcb), [this] { DispatchEvents(); });
}

X11Connection::~X11Connection() {
    if (m_watch != 0) {
        m_pump.Cancel(m_watch);
    }
    // Closing a connection the server has dropped would end the program in
    // Xlib's error handler: it is left to the end of the process instead.
    if (!Broken()) {
        XCloseDisplay(m_display);
    }
}

bool X11Connection::Broken() const {
    return xcb_connection_has_error(m_xcb) != 0;
}

std::unique_ptr<X11Connection::Listening> X11Connection::Listen(Listener listener) {
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return std::make_unique<Listening>(*this, id);
}

std::unique_ptr<X11Connection::Selection> X11Connection::Select(xcb_window_t window, std::uint32_t mask) {
    const int id = m_nextSelection++;
    m_selections[window][id] = mask;
    ApplySelections(window);
    return std::make_unique<Selection>(*this, window, id);
}

void X11Connection::Unselect(xcb_window_t window, int id) {
    const auto found = m_selections.find(window);
    if (found == m_selections.end()) {
        return;
    }
    found->second.erase(id);
    ApplySelections(window);
    if (found->second.empty()) {
        m_selections.erase(found);
    }
}

void X11Connection::ApplySelections(xcb_window_t window) {
    std::uint32_t mask = 0;
    for (const auto& [id, selected] : m_selections[window]) {
        mask |= selected;
    }
    // A window that is gone answers with an error event, which nobody minds.
    xcb_change_window_attributes(m_xcb, window, XCB_CW_EVENT_MASK, &mask);
}

void X11Connection::Deliver(const xcb_generic_event_t& event) {
    // A listener may end its own or another's listening.
    std::vector<int> ids;
    ids.reserve(m_listeners.size());
    for (const auto& [id, listener] : m_listeners) {
        ids.push_back(id);
    }
    for (const int id : ids) {
        if (const auto found = m_listeners.find(id); found != m_listeners.end()) {
            found->second(event);
        }
    }
}

void X11Connection::DispatchEvents() {
    xcb_flush(m_xcb);
    // A listener's round trip may queue more events; they are taken too.
    while (X11Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_xcb)}) {
        Deliver(*event);
    }
    if (Broken() && m_watch != 0) {
        // A closed connection stays readable: watching it would spin.
        m_pump.Cancel(m_watch);
        m_watch = 0;
        if (m_whenBroken) {
            m_whenBroken();
        }
    }
}

bool X11Connection::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    // Events that came with a reply sit in XCB's queue, where the pump's
    // watch cannot see them: the condition takes them before every sleep.
    const bool ended = m_pump.WaitFor(ms, [&] {
        DispatchEvents();
        return Broken() || done();
    });
    return ended && !Broken();
}

xcb_timestamp_t X11Connection::ServerTime() {
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    const auto listening = Listen([&](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (notify.window == m_clock) {
                time = notify.time;
            }
        }
    });
    xcb_change_property(m_xcb, XCB_PROP_MODE_APPEND, m_clock, m_atoms.ORDWELL_TIME, XCB_ATOM_STRING, 8, 0, nullptr);
    // The event is sent before the reply that follows it, so once the reply
    // is here, the event is in the queue.
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(m_xcb, xcb_get_input_focus(m_xcb), nullptr));
    while (X11Reply<xcb_generic_event_t> event{xcb_poll_for_queued_event(m_xcb)}) {
        Deliver(*event);
    }
    return time;
}

} // namespace ordwell
