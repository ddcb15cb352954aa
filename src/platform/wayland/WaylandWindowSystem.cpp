#include "WaylandWindowSystem.h"

#include <algorithm>
#include <wayland-client.h>

#include "WaylandConnection.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace ordwell {

namespace {

// How long a look at the desktop waits for the compositor's answer.
constexpr std::uint32_t kCatchUpBoundMs = 2000;

} // namespace

// One toplevel as the compositor told it: each change is taken as a whole
// at its done event.
struct WaylandWindowSystem::Toplevel {
    WaylandWindowSystem* system = nullptr;
    zwlr_foreign_toplevel_handle_v1* handle = nullptr;
    WindowId id = kNoWindow;
    bool complete = false; // its first done came
    bool closed = false;

    struct State {
        std::string title;
        std::string appId;
        bool activated = false;
        bool minimized = false;
        bool maximized = false;
        bool fullscreen = false;
        zwlr_foreign_toplevel_handle_v1* parent = nullptr;
    };
    State pending;
    State current;

    static void OnTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
        static_cast<Toplevel*>(data)->pending.title = title;
    }
    static void OnAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
        static_cast<Toplevel*>(data)->pending.appId = appId;
    }
    static void OnOutputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void OnOutputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void OnState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
        State& state = static_cast<Toplevel*>(data)->pending;
        state.activated = state.minimized = state.maximized = state.fullscreen = false;
        const auto* entries = static_cast<const std::uint32_t*>(states->data);
        for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
            switch (entries[i]) {
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED:
                state.activated = true;
                break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED:
                state.minimized = true;
                break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MAXIMIZED:
                state.maximized = true;
                break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN:
                state.fullscreen = true;
                break;
            default:
                break;
            }
        }
    }
    static void OnDone(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* self = static_cast<Toplevel*>(data);
        const bool becameActive = self->pending.activated && (!self->current.activated || !self->complete);
        self->current = self->pending;
        if (!self->complete) {
            self->complete = true;
            self->system->m_order.Announced(self->id);
        }
        if (becameActive) {
            self->system->m_order.Activated(self->id);
        }
    }
    static void OnClosed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* self = static_cast<Toplevel*>(data);
        self->closed = true;
        self->system->m_order.Closed(self->id);
        // Owned windows keep no pointer to a handle that goes.
        for (auto& [id, other] : self->system->m_toplevels) {
            for (State* state : {&other->pending, &other->current}) {
                if (state->parent == self->handle) {
                    state->parent = nullptr;
                }
            }
        }
        // Destroyed at the next look, not from within its own event.
    }
    static void OnParent(void* data, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1* parent) {
        static_cast<Toplevel*>(data)->pending.parent = parent;
    }
    static constexpr zwlr_foreign_toplevel_handle_v1_listener kListener{OnTitle, OnAppId, OnOutputEnter, OnOutputLeave,
                                                                        OnState, OnDone,  OnClosed,      OnParent};
};

std::unique_ptr<WaylandWindowSystem> WaylandWindowSystem::Open(WaylandConnection& connection) {
    // Version 3 tells owners; 2 and 1 serve without them.
    auto* manager =
        static_cast<zwlr_foreign_toplevel_manager_v1*>(connection.Bind(zwlr_foreign_toplevel_manager_v1_interface, 3));
    if (manager == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandWindowSystem> windows(new WaylandWindowSystem(connection, manager));
    windows->Catch();
    return windows;
}

WaylandWindowSystem::WaylandWindowSystem(WaylandConnection& connection, zwlr_foreign_toplevel_manager_v1* manager)
    : m_connection(connection), m_manager(manager) {
    static constexpr zwlr_foreign_toplevel_manager_v1_listener kListener{OnToplevel, OnFinished};
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &kListener, this);
}

WaylandWindowSystem::~WaylandWindowSystem() {
    for (auto& [id, toplevel] : m_toplevels) {
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    }
    if (m_manager != nullptr) {
        zwlr_foreign_toplevel_manager_v1_stop(m_manager);
        // The compositor answers with finished, after which the manager
        // is gone; the proxy is freed here without waiting for it.
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_manager));
    }
}

void WaylandWindowSystem::OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                                     zwlr_foreign_toplevel_handle_v1* handle) {
    auto* self = static_cast<WaylandWindowSystem*>(data);
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->system = self;
    toplevel->handle = handle;
    toplevel->id = self->m_nextId++;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &Toplevel::kListener, toplevel.get());
    self->m_toplevels.emplace(toplevel->id, std::move(toplevel));
}

void WaylandWindowSystem::OnFinished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
    auto* self = static_cast<WaylandWindowSystem*>(data);
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(manager));
    self->m_manager = nullptr;
}

void WaylandWindowSystem::Catch() {
    m_connection.RoundTrip(kCatchUpBoundMs);
    std::erase_if(m_toplevels, [](const auto& entry) {
        if (entry.second->closed) {
            zwlr_foreign_toplevel_handle_v1_destroy(entry.second->handle);
            return true;
        }
        return false;
    });
}

WaylandWindowSystem::Toplevel* WaylandWindowSystem::Find(WindowId window) {
    const auto found = m_toplevels.find(window);
    if (found == m_toplevels.end() || found->second->closed || !found->second->complete) {
        return nullptr;
    }
    return found->second.get();
}

std::vector<WindowInfo> WaylandWindowSystem::TopLevelWindows(WindowScope) {
    Catch();
    std::vector<WindowInfo> windows;
    for (const WindowId id : m_order.Windows()) {
        if (const Toplevel* toplevel = Find(id)) {
            windows.push_back({id, toplevel->current.title, true, toplevel->current.parent != nullptr, 0});
        }
    }
    return windows;
}

WindowId WaylandWindowSystem::ActiveWindow() {
    Catch();
    for (const WindowId id : m_order.Windows()) {
        if (const Toplevel* toplevel = Find(id); toplevel != nullptr && toplevel->current.activated) {
            return id;
        }
    }
    return kNoWindow;
}

std::string WaylandWindowSystem::Title(WindowId window) {
    Catch();
    const Toplevel* toplevel = Find(window);
    return toplevel != nullptr ? toplevel->current.title : std::string();
}

std::string WaylandWindowSystem::AppId(WindowId window) {
    Catch();
    const Toplevel* toplevel = Find(window);
    return toplevel != nullptr ? toplevel->current.appId : std::string();
}

bool WaylandWindowSystem::Exists(WindowId window) {
    Catch();
    return Find(window) != nullptr;
}

bool WaylandWindowSystem::IsMinimized(WindowId window) {
    Catch();
    const Toplevel* toplevel = Find(window);
    return toplevel != nullptr && toplevel->current.minimized;
}

bool WaylandWindowSystem::AwaitState(WindowId window, const WaitBound& bound, bool (*reached)(const Toplevel&)) {
    bool result = false;
    m_connection.WaitFor(bound.ms, [&] {
        const Toplevel* toplevel = Find(window);
        result = toplevel != nullptr && reached(*toplevel);
        return result || toplevel == nullptr || bound.Stopped();
    });
    return result;
}

bool WaylandWindowSystem::Activate(WindowId window, const WaitBound& bound) {
    Catch();
    Toplevel* toplevel = Find(window);
    if (toplevel == nullptr || m_connection.Seat() == nullptr) {
        return false;
    }
    if (toplevel->current.minimized) {
        zwlr_foreign_toplevel_handle_v1_unset_minimized(toplevel->handle);
    }
    zwlr_foreign_toplevel_handle_v1_activate(toplevel->handle, m_connection.Seat());
    return AwaitState(window, bound, [](const Toplevel& shown) { return shown.current.activated; });
}

CloseOutcome WaylandWindowSystem::Close(WindowId window, CloseMode mode, const WaitBound& bound) {
    Catch();
    Toplevel* toplevel = Find(window);
    if (toplevel == nullptr) {
        return CloseOutcome::NotDelivered;
    }
    zwlr_foreign_toplevel_handle_v1_close(toplevel->handle);
    if (mode == CloseMode::Post) {
        m_connection.RoundTrip(kCatchUpBoundMs);
        return m_connection.Broken() ? CloseOutcome::NotDelivered : CloseOutcome::Posted;
    }
    // Handled once the window is gone, or its program answers with a window
    // of its own (a question whether to save, say): a toplevel that comes
    // after the request and is owned by the window, or, where the
    // compositor tells no owners (sway 1.7), one that comes and is given the
    // focus.
    zwlr_foreign_toplevel_handle_v1* handle = toplevel->handle;
    const WindowId newer = m_nextId;
    bool stopped = false;
    const bool handled = m_connection.WaitFor(bound.ms, [&] {
        if (Find(window) == nullptr) {
            return true;
        }
        for (auto found = m_toplevels.lower_bound(newer); found != m_toplevels.end(); ++found) {
            const Toplevel& other = *found->second;
            if (other.complete && !other.closed &&
                (other.current.parent == handle || (other.current.parent == nullptr && other.current.activated))) {
                return true;
            }
        }
        stopped = bound.Stopped();
        return stopped;
    });
    if (handled && !stopped) {
        return CloseOutcome::Handled;
    }
    return stopped ? CloseOutcome::Stopped : CloseOutcome::NoAnswer;
}

bool WaylandWindowSystem::Show(WindowId window, ShowState state, const WaitBound& bound) {
    Catch();
    Toplevel* toplevel = Find(window);
    // A Wayland client cannot hide another's window.
    if (toplevel == nullptr || state == ShowState::Hidden) {
        return false;
    }
    switch (state) {
    case ShowState::Minimized:
        zwlr_foreign_toplevel_handle_v1_set_minimized(toplevel->handle);
        AwaitState(window, bound, [](const Toplevel& shown) { return shown.current.minimized; });
        break;
    case ShowState::Maximized:
        zwlr_foreign_toplevel_handle_v1_unset_minimized(toplevel->handle);
        zwlr_foreign_toplevel_handle_v1_set_maximized(toplevel->handle);
        AwaitState(window, bound, [](const Toplevel& shown) { return shown.current.maximized; });
        break;
    case ShowState::Normal:
        zwlr_foreign_toplevel_handle_v1_unset_minimized(toplevel->handle);
        zwlr_foreign_toplevel_handle_v1_unset_maximized(toplevel->handle);
        AwaitState(window, bound,
                   [](const Toplevel& shown) { return !shown.current.minimized && !shown.current.maximized; });
        break;
    case ShowState::Hidden:
        break;
    }
    return true;
}

WindowId WaylandWindowSystem::AwaitNewWindow(std::string_view title, const std::vector<WindowId>& known,
                                             const WaitBound& bound) {
    WindowId found = kNoWindow;
    // Toplevels are told of as the pump dispatches our connection's events.
    m_connection.WaitFor(bound.ms, [&] {
        for (const auto& [id, toplevel] : m_toplevels) {
            if (toplevel->complete && !toplevel->closed && toplevel->current.title == title &&
                std::find(known.begin(), known.end(), id) == known.end()) {
                found = id;
                return true;
            }
        }
        return bound.Stopped();
    });
    return found;
}

} // namespace ordwell
