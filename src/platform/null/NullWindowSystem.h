#pragma once

#include "platform/WindowSystem.h"

namespace ordwell {

// No display: there are no windows, so no window is ever found.
class NullWindowSystem final : public WindowSystem {
public:
    std::vector<WindowInfo> TopLevelWindows() override { return {}; }
    WindowId FindByExactTitle(std::string_view) override { return kNoWindow; }
    WindowId ActiveWindow() override { return kNoWindow; }
    std::string Title(WindowId) override { return {}; }
    bool Exists(WindowId) override { return false; }
    bool IsMinimized(WindowId) override { return false; }
    bool Activate(WindowId) override { return false; }
    bool Close(WindowId, CloseMode) override { return false; }
    bool Show(WindowId, ShowState) override { return false; }
    bool ClickAt(int, int, bool) override { return false; }
};

} // namespace ordwell
