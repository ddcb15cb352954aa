#include "WaylandPointer.h"

#include <chrono>
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include "WaylandConnection.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace ordwell {

namespace {

constexpr std::uint32_t kRoundTripBoundMs = 5000;

std::uint32_t Now() {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace

std::unique_ptr<WaylandPointer> WaylandPointer::Open(WaylandConnection& connection) {
    auto* manager =
        static_cast<zwlr_virtual_pointer_manager_v1*>(connection.Bind(zwlr_virtual_pointer_manager_v1_interface, 1));
    if (manager == nullptr) {
        return nullptr;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, connection.Seat());
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    return std::unique_ptr<WaylandPointer>(new WaylandPointer(connection, pointer));
}

WaylandPointer::~WaylandPointer() {
    zwlr_virtual_pointer_v1_destroy(m_pointer);
    m_connection.RoundTrip(kRoundTripBoundMs);
}

bool WaylandPointer::Click(int x, int y, bool doubleClick) {
    const WaylandConnection::Box layout = m_connection.OutputLayout();
    if (m_connection.Broken() || x < layout.x || y < layout.y || x >= layout.x + layout.width ||
        y >= layout.y + layout.height) {
        return false;
    }
    // The extent is the layout's: the compositor maps the point onto the
    // box of every output, as the absolute motion of a tablet.
    zwlr_virtual_pointer_v1_motion_absolute(
        m_pointer, Now(), static_cast<std::uint32_t>(x - layout.x), static_cast<std::uint32_t>(y - layout.y),
        static_cast<std::uint32_t>(layout.width), static_cast<std::uint32_t>(layout.height));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    for (int click = 0; click < (doubleClick ? 2 : 1); ++click) {
        zwlr_virtual_pointer_v1_button(m_pointer, Now(), BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
        zwlr_virtual_pointer_v1_frame(m_pointer);
        zwlr_virtual_pointer_v1_button(m_pointer, Now(), BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(m_pointer);
    }
    return m_connection.RoundTrip(kRoundTripBoundMs);
}

} // namespace ordwell
