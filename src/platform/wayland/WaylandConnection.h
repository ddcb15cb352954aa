#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventPump.h"

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_output;
struct wl_interface;

namespace ordwell {

// This program's own connection to a Wayland compositor, apart from the
// toolkit's: the globals it offers (the seat, the outputs and the wlroots
// protocols the backend needs), and the reading of its events.
//
// The pump watches the connection for as long as it is open, so events
// never pile up unread; a wait (WaitFor, RoundTrip) sleeps in the pump until
// an event makes its condition true, and so ends at once on a stop request
// too. Every request is written out before a wait sleeps.
class WaylandConnection final {
public:
    // The protocols the backend needs, by the name of their global.
    static constexpr const char* kVirtualKeyboard = "zwp_virtual_keyboard_manager_v1";
    static constexpr const char* kToplevels = "zwlr_foreign_toplevel_manager_v1";
    static constexpr const char* kVirtualPointer = "zwlr_virtual_pointer_manager_v1";

    // Connects to the compositor named by `name` (WAYLAND_DISPLAY when null:
    // a socket name in XDG_RUNTIME_DIR, or a whole path), and learns its
    // globals; null when there is none, or it did not answer.
    static std::unique_ptr<WaylandConnection> Open(EventPump& pump, const char* name = nullptr);
    // The same before there is an event pump (to learn what the compositor
    // offers before the backends are chosen): waits sleep on the connection
    // alone until UsePump hands it the pump every later wait sleeps in.
    static std::unique_ptr<WaylandConnection> Open(const char* name = nullptr);
    void UsePump(EventPump& pump);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return m_display; }
    // The first seat the compositor offers; null when it offers none.
    wl_seat* Seat() const { return m_seat; }
    // Binds a global of the compositor by its interface, at the version
    // asked for or the compositor's own when lower; null when it offers
    // none, or one of a version below `lowest`.
    void* Bind(const wl_interface& interface, std::uint32_t version, std::uint32_t lowest = 1);
    // Whether the compositor offers the global named (at any version).
    bool Offers(const std::string& interface) const;
    // Which of the three protocols the backend needs the compositor lacks,
    // by name, comma-separated; empty when it offers all three.
    std::string MissingProtocols() const;
    // The box that holds every output, in the compositor's logical
    // coordinates: x, y, width, height. Zero size when nothing is known.
    struct Box {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    Box OutputLayout() const;

    // The compositor went away, or ended the connection for a protocol
    // error: every request fails from now on.
    bool Broken() const;
    // Reads and dispatches what has arrived, without waiting.
    void DispatchEvents();
    // Sleeps at most `ms` milliseconds, dispatching events as they come,
    // until `done` answers true (asked first, and after every dispatch);
    // true when it did. A broken connection ends the wait with false.
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done);
    // Sends what was asked and waits until the compositor has handled it
    // (a wl_display.sync answered): true when it has, false when the time
    // ran out, `stopped` answered true, or the connection broke.
    bool RoundTrip(std::uint32_t ms, const std::function<bool()>& stopped = {});

private:
    struct Global {
        std::uint32_t name = 0;
        std::string interface;
        std::uint32_t version = 0;
    };
    struct Output;

    explicit WaylandConnection(wl_display* display);
    // Sleeps on the connection alone, before there is a pump.
    bool WaitWithoutPump(std::uint32_t ms, const std::function<bool()>& done);
    static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
    void Flush();

    EventPump* m_pump = nullptr;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    std::vector<Global> m_globals;
    std::vector<std::unique_ptr<Output>> m_outputs;
    EventPump::EventId m_watch = 0;
};

} // namespace ordwell
