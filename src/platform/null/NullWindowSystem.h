#pragma once

#include "platform/WindowSystem.h"

namespace ordwell {

// No display: there are no windows, so no window is ever found.
class NullWindowSystem final : public WindowSystem {
public:
    std::vector<WindowInfo> TopLevelWindows(WindowScope) override { return {}; }
    WindowId ActiveWindow() override { return kNoWindow; }
    std::string Title(WindowId) override { return {}; }
    bool Exists(WindowId) override { return false; }
    bool IsMinimized(WindowId) override { return false; }
    bool Activate(WindowId, const WaitBound&) override { return false; }
    CloseOutcome Close(WindowId, CloseMode, const WaitBound&) override { return CloseOutcome::NotDelivered; }
    bool Show(WindowId, ShowState, const WaitBound&) override { return false; }
};

} // namespace ordwell
