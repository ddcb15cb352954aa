#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ToplevelOrder.h"
#include "platform/WindowSystem.h"

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct wl_array;

namespace ordwell {

class WaylandConnection;

// The toplevels of a wlroots compositor, native and XWayland ones alike,
// through the foreign toplevel protocol (zwlr_foreign_toplevel_manager_v1):
// their titles, app ids, states and owners, as the compositor tells them.
//
// The protocol has no stacking order, no process ids and no hidden windows:
// the list is in ToplevelOrder's order, every window is visible (shown or
// minimized), processId is 0, and a window cannot be hidden. Every call
// first takes what the compositor has told since (a round trip), so it sees
// the desktop as it is.
class WaylandWindowSystem final : public WindowSystem {
public:
    // Null when the compositor offers no toplevel list.
    static std::unique_ptr<WaylandWindowSystem> Open(WaylandConnection& connection);
    ~WaylandWindowSystem() override;
    WaylandWindowSystem(const WaylandWindowSystem&) = delete;
    WaylandWindowSystem& operator=(const WaylandWindowSystem&) = delete;

    std::vector<WindowInfo> TopLevelWindows(WindowScope scope) override;
    WindowId ActiveWindow() override;
    std::string Title(WindowId window) override;
    bool Exists(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    bool Activate(WindowId window, const WaitBound& bound) override;
    CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) override;
    bool Show(WindowId window, ShowState state, const WaitBound& bound) override;
    // The toplevel by title alone: the protocol tells no process ids.
    WindowId AwaitNewWindow(std::string_view title, const std::vector<WindowId>& known,
                            const WaitBound& bound) override;

    // The app id of a window (its program's desktop name, say); empty when
    // it has none or is gone.
    std::string AppId(WindowId window);

private:
    struct Toplevel;

    WaylandWindowSystem(WaylandConnection& connection, zwlr_foreign_toplevel_manager_v1* manager);
    static void OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1* manager,
                           zwlr_foreign_toplevel_handle_v1* handle);
    static void OnFinished(void* data, zwlr_foreign_toplevel_manager_v1* manager);
    void Catch();
    Toplevel* Find(WindowId window);
    // Waits within the bound until the window's state answers `reached`, it
    // is gone, or the wait is stopped; true when it was reached.
    bool AwaitState(WindowId window, const WaitBound& bound, bool (*reached)(const Toplevel&));

    WaylandConnection& m_connection;
    zwlr_foreign_toplevel_manager_v1* m_manager;
    std::map<WindowId, std::unique_ptr<Toplevel>> m_toplevels; // told of whole (their first done came)
    ToplevelOrder m_order;
    WindowId m_nextId = 1;
};

} // namespace ordwell
