#pragma once

#include <memory>

#include "platform/Pointer.h"

struct zwlr_virtual_pointer_v1;

namespace ordwell {

class WaylandConnection;

// A virtual pointer of the compositor's seat (zwlr_virtual_pointer_v1):
// clicks at absolute points of the output layout. No Wayland client can
// click without moving the pointer: it stays where the click was.
class WaylandPointer final : public Pointer {
public:
    // Null when the compositor offers no virtual pointer.
    static std::unique_ptr<WaylandPointer> Open(WaylandConnection& connection);
    ~WaylandPointer() override;
    WaylandPointer(const WaylandPointer&) = delete;
    WaylandPointer& operator=(const WaylandPointer&) = delete;

    // A left-button click, or double click, at the point of the layout;
    // false when the point lies outside every output or the compositor is
    // gone. Returns once the compositor has handled it.
    bool Click(int x, int y, bool doubleClick) override;

private:
    WaylandPointer(WaylandConnection& connection, zwlr_virtual_pointer_v1* pointer)
        : m_connection(connection), m_pointer(pointer) {}

    WaylandConnection& m_connection;
    zwlr_virtual_pointer_v1* m_pointer;
};

} // namespace ordwell
