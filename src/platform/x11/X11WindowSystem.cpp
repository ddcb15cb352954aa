#include "X11WindowSystem.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <set>
#include <unistd.h>

#include "X11ClientProcess.h"
#include "X11Connection.h"
#include "X11Reply.h"
#include "X11TopLevels.h"
#include "X11WindowSurvey.h"

namespace ordwell {

namespace {

// How requests to the window manager travel: to the root window, for the
// client that redirects its children.
constexpr std::uint32_t kToWindowManager = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
// The source of an EWMH request: 2, a pager or other tool acting for the
// user, which window managers obey without their focus-stealing checks.
constexpr std::uint32_t kFromPager = 2;
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;

std::uint8_t EventType(const xcb_generic_event_t& event) {
    return event.response_type & 0x7F;
}

template <class T> const T& As(const xcb_generic_event_t& event) {
    return reinterpret_cast<const T&>(event);
}

void PostClientMessage(X11Connection& connection, xcb_window_t destination, std::uint32_t mask, xcb_window_t window,
                       xcb_atom_t type, std::initializer_list<std::uint32_t> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection.Xcb(), 0, destination, mask, reinterpret_cast<const char*>(&message));
}

void SetProperty(X11Connection& connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                 const std::vector<std::uint32_t>& values) {
    xcb_change_property(connection.Xcb(), XCB_PROP_MODE_REPLACE, window, property, type, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
}

// A round trip: the server has done every request sent before.
void Sync(X11Connection& connection) {
    xcb_connection_t* xcb = connection.Xcb();
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
}

void Raise(X11Connection& connection, xcb_window_t window) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection.Xcb(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

bool Managed(const X11WindowFacts& facts) {
    return facts.hasWmState && facts.wmState != X11WindowFacts::kWithdrawn;
}

// The window's EWMH states with both maximized states added or taken out.
std::vector<std::uint32_t> WithMaximized(const X11WindowFacts& facts, const X11Atoms& atoms, bool maximized) {
    std::vector<std::uint32_t> states;
    for (const xcb_atom_t state : facts.netState) {
        if (state != atoms.NET_WM_STATE_MAXIMIZED_VERT && state != atoms.NET_WM_STATE_MAXIMIZED_HORZ) {
            states.push_back(state);
        }
    }
    if (maximized) {
        states.push_back(atoms.NET_WM_STATE_MAXIMIZED_VERT);
        states.push_back(atoms.NET_WM_STATE_MAXIMIZED_HORZ);
    }
    return states;
}

} // namespace

std::vector<WindowInfo> X11WindowSystem::TopLevelWindows(WindowScope scope) {
    std::vector<WindowInfo> windows;
    for (X11WindowFacts& facts : ListTopLevelWindows(m_connection, scope)) {
        windows.push_back({facts.id, std::move(facts.title), facts.Visible(), facts.Owned(), facts.processId});
    }
    return windows;
}

WindowId X11WindowSystem::ActiveWindow() {
    return ActiveTopLevelWindow(m_connection);
}

std::string X11WindowSystem::Title(WindowId window) {
    return window == kNoWindow ? std::string() : SurveyWindow(m_connection, static_cast<xcb_window_t>(window)).title;
}

bool X11WindowSystem::Exists(WindowId window) {
    if (window == kNoWindow) {
        return false;
    }
    xcb_connection_t* xcb = m_connection.Xcb();
    const X11Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        xcb, xcb_get_window_attributes(xcb, static_cast<xcb_window_t>(window)), nullptr));
    return attributes != nullptr;
}

bool X11WindowSystem::IsMinimized(WindowId window) {
    return window != kNoWindow &&
           SurveyWindow(m_connection, static_cast<xcb_window_t>(window), SurveyDepth::Lookup).Iconic();
}

bool X11WindowSystem::Activate(WindowId id, const WaitBound& bound) {
    const auto window = static_cast<xcb_window_t>(id);
    if (!Exists(id)) {
        return false;
    }
    const xcb_timestamp_t time = m_connection.ServerTime();
    if (!WindowManagerRuns(m_connection)) {
        return FocusDirectly(window, time);
    }
    // Watched before the request goes, so that the change cannot come unseen.
    // The window manager names the active window and moves the keyboard
    // focus, in either order: keys typed at once go where the focus is, so
    // both are awaited.
    bool changed = true;
    const auto selection = m_connection.Select(m_connection.Root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    const auto focusSelection = m_connection.Select(window, XCB_EVENT_MASK_FOCUS_CHANGE);
    const auto listening = m_connection.Listen([&](const xcb_generic_event_t& event) {
        if (EventType(event) == XCB_PROPERTY_NOTIFY) {
            const auto& notify = As<xcb_property_notify_event_t>(event);
            changed = changed ||
                      (notify.window == m_connection.Root() && notify.atom == m_connection.Atoms().NET_ACTIVE_WINDOW);
        } else if (EventType(event) == XCB_FOCUS_IN) {
            changed = true;
        }
    });
    PostClientMessage(m_connection, m_connection.Root(), kToWindowManager, window,
                      m_connection.Atoms().NET_ACTIVE_WINDOW, {kFromPager, time, XCB_WINDOW_NONE});
    bool stopped = false;
    const bool active = m_connection.WaitFor(bound.ms, [&] {
        if (bound.Stopped()) {
            stopped = true;
            return true;
        }
        if (!changed) {
            return false;
        }
        changed = false;
        return NetActiveWindow(m_connection) == window && FocusWithin(window);
    });
    return active && !stopped;
}

bool X11WindowSystem::FocusWithin(xcb_window_t window) {
    xcb_connection_t* xcb = m_connection.Xcb();
    const X11Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    xcb_window_t at = focus ? focus->focus : xcb_window_t{XCB_WINDOW_NONE};
    // The focus may lie on a window inside it; never deeper than a few levels.
    for (int depth = 0; depth < 16 && at != XCB_WINDOW_NONE && at != m_connection.Root(); ++depth) {
        if (at == window) {
            return true;
        }
        const X11Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(xcb, xcb_query_tree(xcb, at), nullptr));
        at = tree ? tree->parent : xcb_window_t{XCB_WINDOW_NONE};
    }
    return false;
}

bool X11WindowSystem::FocusDirectly(xcb_window_t window, xcb_timestamp_t time) {
    const X11WindowFacts facts = SurveyWindow(m_connection, window, SurveyDepth::Lookup);
    xcb_connection_t* xcb = m_connection.Xcb();
    if (facts.mapState == XCB_MAP_STATE_UNMAPPED) {
        if (facts.hasWmState) {
            SetProperty(m_connection, window, m_connection.Atoms().WM_STATE, m_connection.Atoms().WM_STATE,
                        {X11WindowFacts::kNormal, XCB_WINDOW_NONE});
        }
        xcb_map_window(xcb, window);
    }
    Raise(m_connection, window);
    // Refused (an error, which nobody minds) when the window cannot be seen.
    xcb_set_input_focus(xcb, XCB_INPUT_FOCUS_PARENT, window, time);
    const X11Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    return focus && focus->focus == window;
}

bool X11WindowSystem::IsOwnWindow(const X11WindowFacts& facts) {
    const std::int64_t self = ::getpid();
    const std::optional<std::int64_t> creator = CreatorProcess(m_connection, facts.id);
    return creator == self || facts.processId == self;
}

CloseOutcome X11WindowSystem::Close(WindowId id, CloseMode mode, const WaitBound& bound) {
    const auto window = static_cast<xcb_window_t>(id);
    if (window == XCB_WINDOW_NONE) {
        return CloseOutcome::NotDelivered;
    }
    const X11WindowFacts target = SurveyWindow(m_connection, window);
    if (!target.exists || IsOwnWindow(target)) {
        return CloseOutcome::NotDelivered;
    }
    const X11Atoms& atoms = m_connection.Atoms();
    const bool takesRequest = target.Speaks(atoms.WM_DELETE_WINDOW);
    if (!takesRequest && !target.Visible()) {
        // Closed without a request means its program is ended, and with it
        // every window it shows: never by way of a window nobody sees (a
        // toolkit's helper window).
        return CloseOutcome::NotDelivered;
    }
    const xcb_window_t root = m_connection.Root();
    const bool wait = mode == CloseMode::Wait;

    // The answers: the window gone or withdrawn, a reply to a ping sent
    // after the request (the program has read the request), or a new window
    // of the program (its question). Watched before the request goes.
    std::unique_ptr<X11Connection::Selection> onTarget;
    std::unique_ptr<X11Connection::Selection> onRoot;
    bool answered = false;
    bool windowsChanged = false;
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    std::unique_ptr<X11Connection::Listening> listening;
    std::set<xcb_window_t> before;
    if (wait) {
        onTarget = m_connection.Select(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        onRoot = m_connection.Select(root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
        listening = m_connection.Listen([&](const xcb_generic_event_t& event) {
            switch (EventType(event)) {
            case XCB_DESTROY_NOTIFY:
                answered = answered || As<xcb_destroy_notify_event_t>(event).window == window;
                break;
            case XCB_UNMAP_NOTIFY:
                answered = answered || As<xcb_unmap_notify_event_t>(event).window == window;
                break;
            case XCB_MAP_NOTIFY:
                windowsChanged = true;
                break;
            case XCB_PROPERTY_NOTIFY: {
                const auto& notify = As<xcb_property_notify_event_t>(event);
                windowsChanged =
                    windowsChanged || (notify.window == root && (notify.atom == atoms.NET_CLIENT_LIST ||
                                                                 notify.atom == atoms.NET_CLIENT_LIST_STACKING));
                break;
            }
            case XCB_CLIENT_MESSAGE: {
                const auto& message = As<xcb_client_message_event_t>(event);
                answered = answered || (message.type == atoms.WM_PROTOCOLS && message.format == 32 &&
                                        message.data.data32[0] == atoms.NET_WM_PING && message.data.data32[1] == time &&
                                        message.data.data32[2] == window);
                break;
            }
            default:
                break;
            }
        });
        for (const X11WindowFacts& shown : ListTopLevelWindows(m_connection, WindowScope::Shown)) {
            before.insert(shown.id);
        }
    }

    time = m_connection.ServerTime();
    if (takesRequest) {
        PostClientMessage(m_connection, window, 0, window, atoms.WM_PROTOCOLS, {atoms.WM_DELETE_WINDOW, time});
    } else if (WindowManagerRuns(m_connection)) {
        PostClientMessage(m_connection, root, kToWindowManager, window, atoms.NET_CLOSE_WINDOW, {time, kFromPager});
    } else {
        // A window that takes no close request is closed as a window
        // manager closes it: its program's connection is ended.
        xcb_kill_client(m_connection.Xcb(), window);
    }
    if (!wait) {
        xcb_flush(m_connection.Xcb());
        return CloseOutcome::Posted;
    }
    if (target.Speaks(atoms.NET_WM_PING)) {
        PostClientMessage(m_connection, window, 0, window, atoms.WM_PROTOCOLS, {atoms.NET_WM_PING, time, window});
    }

    const auto askedBack = [&] {
        for (const X11WindowFacts& shown : ListTopLevelWindows(m_connection, WindowScope::Shown)) {
            const bool ofTarget =
                shown.owner == window || (target.processId != 0 && shown.processId == target.processId);
            if (ofTarget && !before.contains(shown.id)) {
                return true;
            }
        }
        return false;
    };
    bool stopped = false;
    m_connection.WaitFor(bound.ms, [&] {
        if (bound.Stopped()) {
            stopped = true;
            return true;
        }
        if (!answered && windowsChanged) {
            windowsChanged = false;
            answered = askedBack();
        }
        return answered;
    });
    if (answered) {
        return CloseOutcome::Handled;
    }
    return stopped ? CloseOutcome::Stopped : CloseOutcome::NoAnswer;
}

bool X11WindowSystem::Show(WindowId id, ShowState state, const WaitBound& bound) {
    if (id == kNoWindow) {
        return false;
    }
    const X11WindowFacts facts = SurveyWindow(m_connection, static_cast<xcb_window_t>(id));
    if (!facts.exists) {
        return false;
    }
    if (WindowManagerRuns(m_connection)) {
        AskWindowManagerToShow(facts, state, bound);
    } else {
        ShowDirectly(facts, state);
    }
    return facts.Visible();
}

bool X11WindowSystem::AwaitState(xcb_window_t window, const WaitBound& bound,
                                 const std::function<bool(const X11WindowFacts&)>& reached) {
    bool changed = true;
    const auto selection =
        m_connection.Select(window, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    const auto listening = m_connection.Listen([&](const xcb_generic_event_t& event) {
        switch (EventType(event)) {
        case XCB_PROPERTY_NOTIFY:
            changed = changed || As<xcb_property_notify_event_t>(event).window == window;
            break;
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
            changed = true;
            break;
        default:
            break;
        }
    });
    bool stopped = false;
    const bool done = m_connection.WaitFor(bound.ms, [&] {
        if (bound.Stopped()) {
            stopped = true;
            return true;
        }
        if (!changed) {
            return false;
        }
        changed = false;
        const X11WindowFacts facts = SurveyWindow(m_connection, window);
        return !facts.exists || reached(facts);
    });
    return done && !stopped;
}

void X11WindowSystem::AskWindowManagerToShow(const X11WindowFacts& facts, ShowState state, const WaitBound& bound) {
    const X11Atoms& atoms = m_connection.Atoms();
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t window = facts.id;
    const xcb_window_t root = m_connection.Root();
    const auto maximized = [&](const X11WindowFacts& f) {
        return f.Has(atoms.NET_WM_STATE_MAXIMIZED_VERT) && f.Has(atoms.NET_WM_STATE_MAXIMIZED_HORZ);
    };
    const auto normalState = [](const X11WindowFacts& f) {
        return f.hasWmState && f.wmState == X11WindowFacts::kNormal;
    };
    // A window the window manager does not keep (hidden) is mapped, and the
    // manager takes it on; EWMH states it reads from the window then.
    const bool managed = Managed(facts);
    switch (state) {
    case ShowState::Minimized:
        if (!managed) {
            xcb_map_window(xcb, window);
            if (!AwaitState(window, bound, normalState)) {
                return;
            }
        }
        PostClientMessage(m_connection, root, kToWindowManager, window, atoms.WM_CHANGE_STATE,
                          {X11WindowFacts::kIconic});
        AwaitState(window, bound, [](const X11WindowFacts& f) { return f.Iconic(); });
        return;
    case ShowState::Maximized:
    case ShowState::Normal: {
        const bool maximize = state == ShowState::Maximized;
        if (!managed) {
            SetProperty(m_connection, window, atoms.NET_WM_STATE, XCB_ATOM_ATOM, WithMaximized(facts, atoms, maximize));
        } else if (maximized(facts) != maximize) {
            PostClientMessage(m_connection, root, kToWindowManager, window, atoms.NET_WM_STATE,
                              {maximize ? kStateAdd : kStateRemove, atoms.NET_WM_STATE_MAXIMIZED_VERT,
                               atoms.NET_WM_STATE_MAXIMIZED_HORZ, kFromPager});
        }
        // Mapping an iconic window is how ICCCM asks for it back.
        if (!managed || facts.Iconic()) {
            xcb_map_window(xcb, window);
        }
        AwaitState(window, bound, [&](const X11WindowFacts& f) { return normalState(f) && maximized(f) == maximize; });
        return;
    }
    case ShowState::Hidden: {
        // ICCCM withdrawal: unmapped, and a synthetic UnmapNotify so that an
        // iconic window is withdrawn too.
        xcb_unmap_window(xcb, window);
        xcb_unmap_notify_event_t unmap{};
        unmap.response_type = XCB_UNMAP_NOTIFY;
        unmap.event = root;
        unmap.window = window;
        xcb_send_event(xcb, 0, root, kToWindowManager, reinterpret_cast<const char*>(&unmap));
        AwaitState(window, bound,
                   [](const X11WindowFacts& f) { return f.mapState == XCB_MAP_STATE_UNMAPPED && !Managed(f); });
        return;
    }
    }
}

void X11WindowSystem::ShowDirectly(const X11WindowFacts& facts, ShowState state) {
    const X11Atoms& atoms = m_connection.Atoms();
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t window = facts.id;
    const auto setWmState = [&](std::uint32_t wmState) {
        SetProperty(m_connection, window, atoms.WM_STATE, atoms.WM_STATE, {wmState, XCB_WINDOW_NONE});
    };
    const bool wasMaximized =
        facts.Has(atoms.NET_WM_STATE_MAXIMIZED_VERT) && facts.Has(atoms.NET_WM_STATE_MAXIMIZED_HORZ);
    switch (state) {
    case ShowState::Minimized:
        xcb_unmap_window(xcb, window);
        setWmState(X11WindowFacts::kIconic);
        break;
    case ShowState::Hidden:
        xcb_unmap_window(xcb, window);
        xcb_delete_property(xcb, window, atoms.WM_STATE);
        break;
    case ShowState::Maximized:
        if (!wasMaximized) {
            const X11Reply<xcb_get_geometry_reply_t> place(
                xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, window), nullptr));
            const X11Reply<xcb_get_geometry_reply_t> screen(
                xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, m_connection.Root()), nullptr));
            if (place && screen) {
                // Kept on the window, where a later restore finds it.
                SetProperty(m_connection, window, atoms.ORDWELL_NORMAL_GEOMETRY, XCB_ATOM_CARDINAL,
                            {static_cast<std::uint32_t>(place->x), static_cast<std::uint32_t>(place->y), place->width,
                             place->height});
                const std::uint32_t whole[] = {0, 0, screen->width, screen->height};
                xcb_configure_window(xcb, window,
                                     XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                         XCB_CONFIG_WINDOW_HEIGHT,
                                     whole);
            }
        }
        SetProperty(m_connection, window, atoms.NET_WM_STATE, XCB_ATOM_ATOM, WithMaximized(facts, atoms, true));
        xcb_map_window(xcb, window);
        Raise(m_connection, window);
        setWmState(X11WindowFacts::kNormal);
        break;
    case ShowState::Normal: {
        const X11Reply<xcb_get_property_reply_t> saved(xcb_get_property_reply(
            xcb, xcb_get_property(xcb, 1, window, atoms.ORDWELL_NORMAL_GEOMETRY, XCB_ATOM_CARDINAL, 0, 4), nullptr));
        if (saved && saved->format == 32 && xcb_get_property_value_length(saved.get()) == 16) {
            const auto* place = static_cast<const std::uint32_t*>(xcb_get_property_value(saved.get()));
            xcb_configure_window(
                xcb, window,
                XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, place);
        }
        SetProperty(m_connection, window, atoms.NET_WM_STATE, XCB_ATOM_ATOM, WithMaximized(facts, atoms, false));
        xcb_map_window(xcb, window);
        setWmState(X11WindowFacts::kNormal);
        break;
    }
    }
    Sync(m_connection);
}

} // namespace ordwell
