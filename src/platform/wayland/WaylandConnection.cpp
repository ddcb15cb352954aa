#include "WaylandConnection.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <wayland-client.h>

namespace ordwell {

namespace {

// How long the compositor has to list its globals and outputs when the
// connection opens.
constexpr std::uint32_t kGreetingBoundMs = 5000;

} // namespace

// What an output says of its place and size; its box in the layout is its
// position and its mode's size divided by its scale.
struct WaylandConnection::Output {
    wl_output* proxy = nullptr;
    std::uint32_t name = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int scale = 1;

    static void OnGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                           std::int32_t, const char*, const char*, std::int32_t) {
        auto* output = static_cast<Output*>(data);
        output->x = x;
        output->y = y;
    }
    static void OnMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
                       std::int32_t) {
        if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
            auto* output = static_cast<Output*>(data);
            output->width = width;
            output->height = height;
        }
    }
    static void OnDone(void*, wl_output*) {}
    static void OnScale(void* data, wl_output*, std::int32_t factor) {
        static_cast<Output*>(data)->scale = std::max(1, factor);
    }
    static void OnName(void*, wl_output*, const char*) {}
    static void OnDescription(void*, wl_output*, const char*) {}
    static constexpr wl_output_listener kListener{OnGeometry, OnMode, OnDone, OnScale, OnName, OnDescription};
};

std::unique_ptr<WaylandConnection> WaylandConnection::Open(EventPump& pump, const char* name) {
    std::unique_ptr<WaylandConnection> connection = Open(name);
    if (connection) {
        connection->UsePump(pump);
    }
    return connection;
}

std::unique_ptr<WaylandConnection> WaylandConnection::Open(const char* name) {
    wl_display* display = wl_display_connect(name);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // The globals come in answer to the registry's creation; the outputs
    // bound among them tell their places in answer to a second round trip.
    if (!connection->RoundTrip(kGreetingBoundMs) || !connection->RoundTrip(kGreetingBoundMs)) {
        return nullptr;
    }
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : m_display(display) {
    static constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
}

void WaylandConnection::UsePump(EventPump& pump) {
    if (m_pump != nullptr) {
        return;
    }
    m_pump = &pump;
    if (!Broken()) {
        m_watch = m_pump->Watch(wl_display_get_fd(m_display), [this] { DispatchEvents(); });
    }
}

WaylandConnection::~WaylandConnection() {
    if (m_watch != 0) {
        m_pump->Cancel(m_watch);
    }
    for (const auto& output : m_outputs) {
        wl_output_destroy(output->proxy);
    }
    if (m_seat != nullptr) {
        wl_seat_destroy(m_seat);
    }
    wl_registry_destroy(m_registry);
    // Whatever is still unsent (a release of the keys, say) goes out before
    // the connection closes.
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
}

void WaylandConnection::OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                                 std::uint32_t version) {
    auto* self = static_cast<WaylandConnection*>(data);
    const std::string what = interface;
    self->m_globals.push_back({name, what, version});
    if (what == wl_seat_interface.name && self->m_seat == nullptr) {
        self->m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (what == wl_output_interface.name) {
        auto output = std::make_unique<Output>();
        output->name = name;
        output->proxy =
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 2U)));
        wl_output_add_listener(output->proxy, &Output::kListener, output.get());
        self->m_outputs.push_back(std::move(output));
    }
}

void WaylandConnection::OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandConnection*>(data);
    std::erase_if(self->m_globals, [&](const Global& global) { return global.name == name; });
    std::erase_if(self->m_outputs, [&](const std::unique_ptr<Output>& output) {
        if (output->name == name) {
            wl_output_destroy(output->proxy);
            return true;
        }
        return false;
    });
}

void* WaylandConnection::Bind(const wl_interface& interface, std::uint32_t version, std::uint32_t lowest) {
    for (const Global& global : m_globals) {
        if (global.interface == interface.name && global.version >= lowest) {
            return wl_registry_bind(m_registry, global.name, &interface, std::min(version, global.version));
        }
    }
    return nullptr;
}

bool WaylandConnection::Offers(const std::string& interface) const {
    return std::any_of(m_globals.begin(), m_globals.end(),
                       [&](const Global& global) { return global.interface == interface; });
}

std::string WaylandConnection::MissingProtocols() const {
    std::string missing;
    for (const char* name : {kVirtualKeyboard, kToplevels, kVirtualPointer}) {
        if (!Offers(name)) {
            missing += (missing.empty() ? "" : ", ") + std::string(name);
        }
    }
    return missing;
}

WaylandConnection::Box WaylandConnection::OutputLayout() const {
    if (m_outputs.empty()) {
        return {};
    }
    int left = m_outputs.front()->x;
    int top = m_outputs.front()->y;
    int right = left;
    int bottom = top;
    for (const auto& output : m_outputs) {
        left = std::min(left, output->x);
        top = std::min(top, output->y);
        right = std::max(right, output->x + output->width / output->scale);
        bottom = std::max(bottom, output->y + output->height / output->scale);
    }
    return {left, top, right - left, bottom - top};
}

bool WaylandConnection::Broken() const {
    return wl_display_get_error(m_display) != 0;
}

void WaylandConnection::Flush() {
    // A full socket takes the rest once the compositor has read: the next
    // dispatch or wait flushes again.
    wl_display_flush(m_display);
}

void WaylandConnection::DispatchEvents() {
    if (!Broken()) {
        while (wl_display_prepare_read(m_display) != 0) {
            wl_display_dispatch_pending(m_display);
        }
        Flush();
        pollfd ready{wl_display_get_fd(m_display), POLLIN, 0};
        if (::poll(&ready, 1, 0) > 0) {
            wl_display_read_events(m_display);
        } else {
            wl_display_cancel_read(m_display);
        }
        wl_display_dispatch_pending(m_display);
        Flush();
    }
    if (Broken() && m_watch != 0) {
        // A closed connection stays readable: watching it would spin.
        m_pump->Cancel(m_watch);
        m_watch = 0;
    }
}

bool WaylandConnection::WaitWithoutPump(std::uint32_t ms, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        wl_display_dispatch_pending(m_display);
        Flush();
        if (Broken()) {
            return false;
        }
        if (done()) {
            return true;
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd ready{wl_display_get_fd(m_display), POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left));
        if (polled < 0 && errno != EINTR) {
            return false;
        }
        DispatchEvents();
    }
}

bool WaylandConnection::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    if (m_pump == nullptr) {
        return WaitWithoutPump(ms, done);
    }
    const bool ended = m_pump->WaitFor(ms, [&] {
        // Requests made by a callback go out before the pump sleeps.
        wl_display_dispatch_pending(m_display);
        Flush();
        return Broken() || done();
    });
    return ended && !Broken();
}

bool WaylandConnection::RoundTrip(std::uint32_t ms, const std::function<bool()>& stopped) {
    bool answered = false;
    static constexpr wl_callback_listener kListener{
        [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback* callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &kListener, &answered);
    const bool ended = WaitFor(ms, [&] { return answered || (stopped && stopped()); });
    wl_callback_destroy(callback);
    return ended && answered;
}

} // namespace ordwell
