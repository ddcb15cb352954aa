#pragma once

#include <cstdint>
#include <optional>
#include <xcb/xcb.h>

namespace ordwell {

class X11Connection;

// The process of the X client that created a window, as the X server knows
// it (the X-Resource extension, 1.2): true for every window, whatever the
// window claims of itself (_NET_WM_PID). Nothing when the server cannot tell:
// a client on another machine, a server without the extension, a window that
// is gone.
std::optional<std::int64_t> CreatorProcess(X11Connection& connection, xcb_window_t window);

} // namespace ordwell
